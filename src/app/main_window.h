#pragma once
// The calculator's one window: a menu bar above the form, every control of
// the form built from the layout table, the chart, and the nine handlers of
// WindowLogic wired to the buttons and sliders. A fault stops the handler, is
// shown in a message box, and leaves the window running with everything
// computed before it. A right click on the chart offers to copy it, save it
// as a file and export the design sheet.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QString>

#include "design/design_file.h"
#include "render/design_sheet.h"
#include "runtime/fault.h"
#include "widget_fields.h"
#include "form/controls.h"
#include "analysis/spring_analysis.h"
#include "form/design_inputs.h"
#include "render/comparison_page.h"
#include "window/window_logic.h"

class QAction;
class QLockFile;
class QMenu;
class QPrinter;
class QScrollArea;
class QTimer;

namespace diaspring::app {

class AnalysisWindow;
class AutoDesignDialog;
class CompareWindow;
class BoxMarks;
class ChartWidget;
class GuideDialog;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The form below the menu bar ("Form1"), which holds every control at its
  // place in the layout table.
  QWidget* form() const { return form_; }
  // Fits the window to a screen of `available` logical pixels (inside its
  // frame): at its fixed size when the form fits, else smaller, resizable up
  // to that size, with the form scrolling. Called when it is shown and when
  // it moves to another screen.
  void fitScreen(const QSize& available);
  QScrollArea* formScroll() const { return formScroll_; }
  BoxMarks& marks() const { return *marks_; }

  // The analysis menu, between 编辑 and 帮助: 强度与分离特性… and 自动设计….
  QMenu* analysisMenu();
  // The help: the guide (a window of its own, shown again on each call) and
  // the About box with the version, the Qt version and the licence.
  void showGuide();
  void showAbout();
  GuideDialog* guide() const { return guide_; }

  // Design files. The window's design is the texts of its input boxes, its
  // slider positions and the extras and metadata of the file it came from;
  // it counts as modified (the title's [*]) when it differs from the design
  // last opened, saved or started with.
  DesignInputs currentInputs() const;
  // The analysis window's choice of material (see analysis/materials.h).
  void chooseMaterial(const std::string& name);
  // An input that belongs to no box (an analysis's), kept in the design and
  // its file; setting one counts as a change of the design.
  void setExtra(std::string_view name, std::string_view text);
  std::optional<std::string> extra(std::string_view name) const;
  // The design's metadata (project, part or drawing number, designer,
  // notes), kept in its file; a change counts as a change of the design.
  // 设计信息… edits it in a dialog.
  const DesignMetadata& metadata() const { return metadata_; }
  void setMetadata(const DesignMetadata& metadata);
  void editMetadata();
  const QString& filePath() const { return filePath_; }
  // Opens a design file into the window (without asking to save first): the
  // boxes show the file's texts, each slider the position nearest its box's
  // number (the stored one where the text reads as no number in range), the
  // results and the chart are cleared. A file that cannot be read is refused with a
  // warning naming it and the problem, and the window keeps its design.
  bool openFile(const QString& path);
  // The menu's commands: each asks to save unsaved changes first.
  void newDesign();
  void openDesign();
  bool save();
  bool saveAs();
  // Asks to save unsaved changes (保存, 不保存, 取消); false when the user
  // cancels or the save fails.
  bool maybeSave();
  QStringList recentFiles() const;
  // The design sheet of the last run in a print preview, from which it is printed.
  void printDesignSheet();
  // Prints the sheet on `printer`: the same page as the exported sheet.
  bool paintSheetOn(QPrinter& printer);
  // The sheet's title block: the design's metadata and its file's name; and
  // the name the sheet is offered under (by part number, project or file).
  SheetInfo sheetInfo() const;
  QString sheetFileName() const;

  // Autosave: a modified design is copied into the application's data
  // folder at each curve press and every minute; a normal end removes the
  // copy. After an abnormal end the next start offers to restore it.
  bool autosave();
  QString autosavePath() const { return autosavePath_; }
  void offerRestore();

  // The control with this name (a child widget), or null.
  QWidget* control(const std::string& name) const;
  ChartWidget* chart() const { return chart_; }
  WindowLogic& logic() { return *logic_; }

  // Runs a button's handler as a click does.
  void press(Command command);

  // The chart's context menu: "复制图表", "保存图表…", "导出设计报告…".
  QMenu* chartMenu() const { return chartMenu_; }
  // Its actions. Copying puts the chart on the clipboard as an image twice
  // the size on screen. Saving asks for a PNG, SVG or PDF file (the format by
  // the extension, else the chosen filter's) and writes a PNG at twice the
  // size on screen. Exporting asks for a PDF and writes the design sheet of
  // what the window shows. A failed write is shown as a warning and changes
  // nothing in the window.
  void copyChart();
  void saveChart();
  void exportDesignSheet();

  // The analysis of the last curve run that went through (none before one,
  // after a failed run and after the clear command), with the analysis
  // window's inputs (their defaults while it was never opened).
  std::optional<AnalysisInput> analysisInput() const;
  AnalysisWindow* analysisWindow() const { return analysisWindow_; }

  // Types a design's input texts into the boxes, moves each slider to the
  // position nearest its box's number (without its handler, so the texts
  // stay as given) and presses the curve button.
  void applyDesign(const DesignInputs& inputs);
  // Moves each slider to the position nearest its box's number without
  // running its handler: after the program itself filled the boxes.
  void syncSliders();
  // The automatic design dialog, once it has been opened; else null.
  AutoDesignDialog* autoDesignDialog() const { return autoDesign_; }

 public slots:
  // Opens (or raises) the non-modal window 强度与分离特性, which follows
  // every curve run from then on.
  void showAnalysisWindow();
  // Opens the dialog 自动设计… (one per window, kept while the window lives),
  // or brings it to the front.
  void openAutoDesign();
  // Opens (or raises) the non-modal window 特性曲线对比, whose current
  // design follows every curve run from then on.
  void showCompareWindow();

 public:
  // The comparison window, once it has been opened; else null.
  CompareWindow* compareWindow() const;
  // The design sheet's comparison page, when the window compares something.
  std::optional<ComparisonPage> comparisonPage() const;
  // Whether a sheet of the last run carries the warning: an input its pages
  // were made from (the comparison's included) was edited since.
  bool sheetInputsEdited() const;

 signals:
  // The curve button's handler ran (whether or not it went through).
  void curveRan();

 protected:
  // Shows a fault to the user; a modal critical message box.
  virtual void showFault(const QString& title, const QString& text);
  // Asks for the file to write; empty when the user cancels. `selectedFilter`
  // holds the filter offered first and receives the one chosen.
  virtual QString askSaveFileName(const QString& caption, const QString& suggestedPath, const QString& filters,
                                  QString* selectedFilter);
  // Asks whether an existing file may be replaced; the dialog asked about
  // the name as typed, not about the one an added extension made of it.
  virtual bool confirmReplace(const QString& path);
  // Shows a failed write; a modal warning box.
  virtual void showWarning(const QString& title, const QString& text);
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Asks for a design file to open; empty when the user cancels.
  virtual QString askOpenFileName(const QString& caption, const QString& directory, const QString& filters);
  // Asks whether to save unsaved changes: Save, Discard or Cancel.
  virtual int askSaveChanges();
  // Asks whether to restore the design autosaved at `when` into the file
  // `into` (empty: a design never saved), with restoreQuestion()'s text.
  virtual bool askRestore(const QString& when, const QString& into);

 public:
  // The question of the restore offer, naming the file the design goes back into.
  static QString restoreQuestion(const QString& when, const QString& into);

 protected:
  // Shows the print preview of the sheet; painting goes through paintSheetOn.
  virtual void previewSheet(QPrinter& printer);

 private:
  void buildControls();
  void setTabOrderFromTable();
  void connectHandlers();
  void report(const QString& action, const std::optional<Fault>& fault);
  void sliderMoved(Slider slider);
  void drawPicture();
  void buildChartMenu();
  void buildMenus();
  // Enables the actions that need a drawn chart, a change to save, a recent file.
  void updateActions();
  // After an input box or slider changed, or a handler ran: the modified
  // mark, the grey of stale results, the autosave timer.
  void inputsChanged();
  void trackDesign();
  void updateTitle();
  // Shows a design and forgets the results of the one before. With
  // `placeSliders`, each slider goes to the position nearest its box's
  // number; else to the document's stored position.
  void loadDocument(const DesignDocument& document, const QString& path, bool placeSliders = true);
  bool writeDocument(const QString& path);
  void rememberRecent(const QString& path);
  void forgetRecent(const QString& path);
  void fillRecentMenu();
  void removeAutosave();
  QString suggestedPath(const QString& fileName) const;
  // The path to write after the dialog, or empty when the user declines.
  QString confirmedPath(const QString& chosen, const QString& path);
  void showWriteFailure(const QString& title, const QString& error);

  QWidget* form_ = nullptr;
  BoxMarks* marks_ = nullptr;
  GuideDialog* guide_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QMenu* analysisMenu_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  DesignDocument document_;  // as last opened, saved or started with
  DesignMetadata metadata_;  // as the window holds it now
  std::map<std::string, std::string, std::less<>> extras_;  // the extras the window holds now
  QString filePath_;
  QTimer* autosaveTimer_ = nullptr;
  QString autosavePath_;
  std::unique_ptr<QLockFile> autosaveLock_;
  bool autosaveFailureShown_ = false;
  std::map<std::string, QWidget*, std::less<>> controls_;
  WidgetFields fields_;
  ChartWidget* chart_ = nullptr;
  std::unique_ptr<WindowLogic> logic_;
  bool followingScreen_ = false;
  QScrollArea* formScroll_ = nullptr;  // while the form does not fit the screen
  QMenu* chartMenu_ = nullptr;
  std::optional<CurveRun> lastRun_;
  AnalysisWindow* analysisWindow_ = nullptr;
  AutoDesignDialog* autoDesign_ = nullptr;
};

}  // namespace diaspring::app

#pragma once
// The calculator's one window: every control built from the layout table,
// the chart, and the nine handlers of WindowLogic wired to the buttons and
// sliders. A fault stops the handler, is shown in a message box, and leaves
// the window running with everything computed before it. A right click on
// the chart offers to copy it, save it as a file and export the design sheet.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QString>
#include <QWidget>

#include "runtime/fault.h"
#include "widget_fields.h"
#include "form/controls.h"
#include "analysis/spring_analysis.h"
#include "window/window_logic.h"

class QMenu;

namespace diaspring::app {

class AnalysisWindow;
class ChartWidget;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

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

 public slots:
  // Opens (or raises) the non-modal window 强度与分离特性, which follows
  // every curve run from then on.
  void showAnalysisWindow();

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

 private:
  void buildControls();
  void setTabOrderFromTable();
  void connectHandlers();
  void report(const QString& action, const std::optional<Fault>& fault);
  void sliderMoved(Slider slider);
  void drawPicture();
  void buildChartMenu();
  QString suggestedPath(const QString& fileName) const;
  // The path to write after the dialog, or empty when the user declines.
  QString confirmedPath(const QString& chosen, const QString& path);
  void showWriteFailure(const QString& title, const QString& error);

  std::map<std::string, QWidget*, std::less<>> controls_;
  WidgetFields fields_;
  ChartWidget* chart_ = nullptr;
  std::unique_ptr<WindowLogic> logic_;
  bool followingScreen_ = false;
  QMenu* chartMenu_ = nullptr;
  QString lastDirectory_;  // where the last file was saved
  std::optional<CurveRun> lastRun_;
  AnalysisWindow* analysisWindow_ = nullptr;
};

}  // namespace diaspring::app

#pragma once
// 强度与分离特性: the strength, release characteristic and fatigue of the
// spring of the main window's last curve run, in a window of its own that
// stays open beside the main window and follows each curve run. Its inputs
// (n, b, Rm, [σ] and the fatigue line, the latter example values) belong to
// no box of the form; a table of the six points, the stresses and the
// release force as charts (drawn through the DisplayList and its painter, so
// they export like the main chart), the checks with pass/fail in colour, and
// a readout of the values under the mouse.

#include <optional>

#include <QLabel>
#include <QWidget>

#include "analysis/analysis_charts.h"
#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "form/design_inputs.h"

class QLineEdit;
class QComboBox;
class QTableWidget;
class QMenu;

namespace diaspring::app {

// A chart of the analysis: replays its display list, reports the data
// coordinates under the mouse, offers to save itself.
class AnalysisChart : public QWidget {
  Q_OBJECT
 public:
  explicit AnalysisChart(QWidget* parent = nullptr);
  DisplayList& displayList() { return list_; }
  const DisplayList& displayList() const { return list_; }
  void setWindow(const ChartWindow& window) { window_ = window; }
  // Drawn under a pale veil while its design's inputs were edited.
  void setStale(bool stale);
  bool isStale() const { return stale_; }
  // The data coordinates at a point of the widget; none outside the plot.
  std::optional<QPointF> dataAt(const QPointF& at) const;
  QMenu* menu() const { return menu_; }

 signals:
  void hovered(std::optional<QPointF> at);
  void saveRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  DisplayList list_;
  ChartWindow window_;
  QMenu* menu_ = nullptr;
  bool stale_ = false;
};

class AnalysisWindow : public QWidget {
  Q_OBJECT
 public:
  explicit AnalysisWindow(QWidget* parent = nullptr);
  // Its inputs lose focus while they are torn down: nothing may refresh then.
  ~AnalysisWindow() override;

  // The main window's curve run went through (the analysis follows it), or
  // the chart was cleared or a run failed (the analysis empties).
  void setCurveRun(const std::optional<CurveRun>& run);
  // The main window's results are stale (an input of the curve was edited
  // after the run): the analysis shows greyed under a warning until the
  // next run, as the main window's point boxes do.
  void setStale(bool stale);
  bool isStale() const { return stale_; }

  // The analysis inputs as extras of a design's inputs, and back.
  DesignInputs extras() const;
  void setExtras(const DesignInputs& inputs);

  // What the window shows now; the error when its inputs do not read.
  const std::optional<SpringAnalysis>& analysis() const { return analysis_; }
  // What the design sheet's second page is made from, when there is one.
  std::optional<AnalysisInput> analysisInput() const;

  AnalysisChart* stressChart() const { return stressChart_; }
  AnalysisChart* releaseChart() const { return releaseChart_; }
  QTableWidget* table() const { return table_; }
  QLabel* checks() const { return checks_; }
  QLabel* yieldTable() const { return yield_; }
  QLabel* readout() const { return readout_; }
  QLineEdit* input(const char* name) const;
  QComboBox* materialBox() const { return material_; }

 signals:
  // The user typed into an analysis input: the design's extra `name` is now `text`.
  void inputEdited(const std::string& name, const std::string& text);
  // The user chose a material: a steel of the library, or a name of the
  // user's own (empty: none). The main window types what it sets.
  void materialChosen(const std::string& name);

 public:

  // Writes a chart as PNG, SVG or PDF (by the extension); false with the
  // reason in Chinese in `error`.
  bool exportChart(const AnalysisChart& chart, const QString& path, QString* error) const;

 protected:
  // Asks for the file a chart is saved to, with the extension of the chosen
  // format; empty when the user cancels.
  virtual QString askSaveFileName(const QString& suggested);
  virtual void showWarning(const QString& title, const QString& text);

 private:
  void refresh();
  void showYield(const AnalysisParams& params);
  void showReadout(const AnalysisChart* chart, std::optional<QPointF> at);
  void saveChart(const AnalysisChart& chart, const QString& name);

  std::optional<CurveRun> run_;
  bool stale_ = false;
  std::optional<SpringAnalysis> analysis_;
  std::optional<SpringModel> model_;
  std::vector<QLineEdit*> inputs_;
  QComboBox* material_ = nullptr;
  QLabel* materialNote_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* checks_ = nullptr;
  QLabel* yield_ = nullptr;  // the production yield of the run's spring
  QLabel* readout_ = nullptr;
  AnalysisChart* stressChart_ = nullptr;
  AnalysisChart* releaseChart_ = nullptr;
};

}  // namespace diaspring::app

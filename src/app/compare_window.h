#pragma once
// 特性曲线对比: the characteristic of the current design beside pinned
// designs, design files and designs of the automatic design, with measured
// curves, their calibration, and the production scatter of the current
// design. A window of its own beside the main window that follows each
// curve run; its chart is a display list, so it exports (and prints on the
// design sheet) exactly as shown.

#include <functional>
#include <optional>
#include <vector>

#include <QLabel>
#include <QWidget>

#include "analysis_window.h"
#include "compare/comparison.h"
#include "form/design_inputs.h"

class QLineEdit;
class QPushButton;
class QTableWidget;
class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QSplitter;

namespace diaspring::app {

class CompareWindow : public QWidget {
  Q_OBJECT
 public:
  // `current` gives the main window's design (read at each curve run);
  // `apply` types a design into the main window and presses its curve button.
  CompareWindow(std::function<DesignInputs()> current, std::function<void(const DesignInputs&)> apply,
                QWidget* parent = nullptr);

  // The main window ran its curve: the current design is read afresh.
  void followCurrent();
  // The main window's inputs are now `now`: the current design turns grey,
  // with a note, while an input it was made from differs.
  void inputsChanged(const DesignInputs& now);
  bool isStale() const { return stale_; }
  QLabel* staleNote() const { return staleNote_; }
  // Adds the current design, a design or a design file beside the current
  // one; a measured curve. Each refuses (with a warning, changing nothing)
  // when kMaxCompared curves are shown or the file cannot be read.
  bool pinCurrent();
  bool addDesign(const DesignInputs& inputs, const QString& name);
  bool openDesignFile(const QString& path);
  bool importMeasured(const QString& path);
  // Rows of the curve table: 0 the current design, then the added designs,
  // then the measured curves.
  int curveCount() const;
  void removeCurve(int row);  // the current design stays
  void setCurveShown(int row, bool shown);
  // Types the fitted h and H/h of measured curve `index` into the main window.
  bool applyFit(int index);

  // What is compared now (shown or not) and its results.
  const compare::ComparisonInput& input() const { return input_; }
  const compare::ComparisonResult& result() const { return result_; }
  // The chart's scene: the shown curves and the band.
  compare::ComparisonScene scene() const;
  // Whether anything is compared beside the current design.
  bool comparing() const { return input_.designs.size() > 1 || !input_.measured.empty(); }

  AnalysisChart* chart() const { return chart_; }
  QTableWidget* curveTable() const { return curves_; }
  QTableWidget* measuredTable() const { return measured_; }
  QTableWidget* scatterTable() const { return scatter_; }
  QLabel* scatterNote() const { return scatterNote_; }
  QLabel* readout() const { return readout_; }
  QLineEdit* tolerance(const char* name) const;

 protected:
  virtual QString askOpenFileName(const QString& caption, const QString& filters);
  virtual QString askSaveFileName(const QString& suggested);
  virtual void showWarning(const QString& title, const QString& text);

 private:
  // The parts of the window, top to bottom.
  QHBoxLayout* buildButtons();
  QLabel* buildStaleNote();
  QSplitter* buildChartAndCurves();
  QGroupBox* buildMeasuredBox();
  QGroupBox* buildScatterBox();
  void refresh();
  void readTolerances();
  void resetTolerances();
  void fillTables();
  void showReadout(std::optional<QPointF> at);
  void setStale(bool stale);
  void saveChart();
  bool roomForOneMore();

  std::function<DesignInputs()> current_;
  std::function<void(const DesignInputs&)> apply_;
  DesignInputs followed_;  // what the current design was made from
  bool stale_ = false;
  compare::ComparisonInput input_;
  compare::ComparisonResult result_;
  std::vector<bool> shown_;   // per row of the curve table
  std::vector<int> styles_;   // per row
  std::vector<QString> kinds_;
  int pinned_ = 0;
  bool tolerancesTyped_ = false;

  AnalysisChart* chart_ = nullptr;
  QTableWidget* curves_ = nullptr;
  QTableWidget* measured_ = nullptr;
  QTableWidget* scatter_ = nullptr;
  QLabel* scatterNote_ = nullptr;
  QLabel* readout_ = nullptr;
  QLabel* staleNote_ = nullptr;
  QCheckBox* showBand_ = nullptr;
  std::vector<QLineEdit*> tolerances_;
};

}  // namespace diaspring::app

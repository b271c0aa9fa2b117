#pragma once
// 自动设计…: the design search in a dialog. The ranges of the four free
// inputs, a run button with progress and cancel, a sortable table of the
// designs found and the chart of their trade-off; a double click on a row
// (or 应用到主窗口) puts the design's texts into the main window's boxes and
// presses its curve button. The search runs on threads of its own, so the
// window stays responsive; closing the dialog cancels it.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <QDialog>
#include <QStringList>

#include "form/design_inputs.h"
#include "search/search.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace diaspring::app {

class ChartWidget;

class AutoDesignDialog : public QDialog {
  Q_OBJECT
 public:
  // `current` gives the main window's inputs when a search starts (the
  // clutch data and the other fixed inputs come from there); `apply` types
  // a design into the main window and presses its curve button.
  AutoDesignDialog(std::function<DesignInputs()> current, std::function<void(const DesignInputs&)> apply,
                   QWidget* parent = nullptr);
  ~AutoDesignDialog() override;

  // Starts a search with the ranges shown; false (with the reason shown in
  // the dialog) when a range cannot be read or a search is running.
  bool start();
  void cancel();
  bool running() const { return worker_.joinable(); }

  // The designs of the last search, by wearRise, as the chart numbers them.
  const std::vector<search::Design>& designs() const { return designs_; }
  // The design of a table row (as sorted now); -1 when there is none.
  int designOfRow(int row) const;
  // Applies the design of the current row to the main window.
  void applyCurrent();
  // The main window's inputs are now `now`: the designs found turn grey,
  // with a note, while an input the search held fixed (or a range) differs
  // from what it searched with.
  void inputsChanged(const DesignInputs& now);
  bool isStale() const { return stale_; }
  QLabel* staleNote() const { return staleNote_; }
  QPushButton* applyButton() const { return apply_button_; }
  QPushButton* compareButton() const { return compare_button_; }

  QTableWidget* table() const { return table_; }
  QProgressBar* progress() const { return progress_; }
  ChartWidget* tradeOffChart() const { return chart_; }
  QLabel* status() const { return status_; }
  // What the search holds fixed, with the permissible stress [σ] it checks
  // σI against (the main window's analysis input).
  QLabel* constraintNote() const { return note_; }
  QLineEdit* minYieldEdit() const { return minYield_; }
  QLineEdit* rangeEdit(int input, bool high) const { return ranges_[input * 2 + (high ? 1 : 0)]; }

 signals:
  void searchFinished();
  // 加入曲线对比: the design of the current row, to be drawn beside the current one.
  void compareRequested(const DesignInputs& inputs, const QString& name);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void finish(std::shared_ptr<search::Result> result, std::shared_ptr<std::string> error);
  void showDesigns();
  void drawChart();
  void setRunning(bool running);
  void stopWorker();
  void showConstraints(const DesignInputs& base);
  QStringList rangeTexts() const;
  void updateStale();
  void updateButtons();

  std::function<DesignInputs()> current_;
  std::function<void(const DesignInputs&)> apply_;
  std::vector<QLineEdit*> ranges_;  // low and high of h, H/h, R, R/r
  QPushButton* run_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* apply_button_ = nullptr;
  QPushButton* compare_button_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* note_ = nullptr;
  QLineEdit* minYield_ = nullptr;  // the least production yield, in per cent
  std::shared_ptr<std::string> opening_ = std::make_shared<std::string>();  // the worker's opening, in Chinese
  QTableWidget* table_ = nullptr;
  ChartWidget* chart_ = nullptr;
  QTimer* poll_ = nullptr;

  QLabel* staleNote_ = nullptr;
  // The inputs and ranges of the designs shown, of the search running, and
  // the main window's inputs now.
  DesignInputs searchedFrom_, searching_, now_;
  QStringList searchedRanges_, searchingRanges_;
  bool stale_ = false;

  std::vector<search::Design> designs_;
  search::Options lastOptions_;
  std::thread worker_;
  std::atomic<bool> cancelRequested_{false};
  std::atomic<std::size_t> done_{0}, total_{1};
};

}  // namespace diaspring::app

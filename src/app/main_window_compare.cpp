// The main window's comparison window: opened from 分析, followed by each
// curve run, and its comparison as the design sheet's last page.
#include "compare_window.h"
#include "main_window.h"

namespace diaspring::app {

void MainWindow::showCompareWindow() {
  auto* window = findChild<CompareWindow*>();
  if (window == nullptr) {
    window = new CompareWindow([this] { return currentInputs(); },
                               [this](const DesignInputs& inputs) { applyDesign(inputs); }, this);
    connect(this, &MainWindow::curveRan, window, &CompareWindow::followCurrent);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

CompareWindow* MainWindow::compareWindow() const { return findChild<CompareWindow*>(); }

std::optional<ComparisonPage> MainWindow::comparisonPage() const {
  const CompareWindow* window = compareWindow();
  if (window == nullptr || !window->comparing()) return std::nullopt;
  return ComparisonPage{window->input(), window->result(), window->scene()};
}

bool MainWindow::sheetInputsEdited() const {
  const CompareWindow* window = compareWindow();
  return logic_->inputsEditedSinceRun() || (window != nullptr && window->comparing() && window->isStale());
}

}  // namespace diaspring::app

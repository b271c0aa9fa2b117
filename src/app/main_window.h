#pragma once
// The calculator's one window: every control built from the layout table,
// the chart, and the nine handlers of WindowLogic wired to the buttons and
// sliders. A fault stops the handler, is shown in a message box, and leaves
// the window running with everything computed before it.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QString>
#include <QWidget>

#include "runtime/fault.h"
#include "widget_fields.h"
#include "window/controls.h"
#include "window/window_logic.h"

namespace diaspring::app {

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

 protected:
  // Shows a fault to the user; a modal critical message box.
  virtual void showFault(const QString& title, const QString& text);
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void setTabOrderFromTable();
  void connectHandlers();
  void report(const QString& action, const std::optional<Fault>& fault);
  void sliderMoved(Slider slider);
  void drawPicture();

  std::map<std::string, QWidget*, std::less<>> controls_;
  WidgetFields fields_;
  ChartWidget* chart_ = nullptr;
  std::unique_ptr<WindowLogic> logic_;
  bool followingScreen_ = false;
};

}  // namespace diaspring::app

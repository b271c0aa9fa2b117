#pragma once
// The window's behaviour without widgets: the nine event handlers of the
// window, talking only to the controls (Fields) and the chart (Surface).
// The Qt window and the headless front end both drive this one class.

#include <optional>

#include "chart/surface.h"
#include "check/constraint_check.h"
#include "model/spring_design.h"
#include "runtime/fault.h"
#include "form/fields.h"

namespace diaspring {

class WindowLogic {
 public:
  WindowLogic(Fields& fields, Surface& chart);

  // The handlers. Each runs to completion or throws the Fault that stopped
  // it, leaving in place what it drew and wrote before.
  void command1Click();  // the curve: frame, capture, trace, M N H B, A C
  void command2Click();  // clear the chart and the output and check boxes
  // The constraint check; `results` receives what each rule found.
  void command3Click(RuleResults* results = nullptr);
  void sliderChange(Slider slider);  // HScroll1 ... HScroll6 changed

  // The same, as the window runs them: a fault ends the handler and is
  // returned instead of thrown.
  std::optional<Fault> press(Command command);
  std::optional<Fault> sliderChanged(Slider slider);

  const SpringDesign& design() const { return design_; }
  // The valley deflection λ1N found by the last curve run (the record keeps
  // only its load); unset before a run and when no valley was found.
  Num valleyDeflection() const { return lambda1N_; }

 private:
  Fields& fields_;
  Surface& chart_;
  SpringDesign design_;
  Num lambda1N_;
};

}  // namespace diaspring

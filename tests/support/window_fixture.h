#pragma once
// A window without widgets: the handlers over boxes held in memory and a
// recorded chart.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "chart/display_list.h"
#include "form/fields.h"
#include "runtime/fault.h"
#include "window/window_logic.h"

namespace diaspring::testing {

struct TestWindow {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic logic{fields, chart};

  std::string text(TextBox box) const { return fields.text(box); }
  void type(TextBox box, std::string_view text) { fields.setText(box, text); }
  std::optional<Fault> press(Command command) { return logic.press(command); }
  std::optional<Fault> curve() { return press(Command::Command1); }
  std::optional<Fault> check() { return press(Command::Command3); }
  std::optional<Fault> clear() { return press(Command::Command2); }
  std::optional<Fault> moveSlider(Slider slider, int value) {
    fields.setSliderValue(slider, value);
    return logic.sliderChanged(slider);
  }
  const SpringDesign& design() const { return logic.design(); }
};

// Whether a press met a fault of `kind`; if not, which fault it met, if any.
inline ::testing::AssertionResult faulted(const std::optional<Fault>& fault, FaultKind kind) {
  if (!fault) return ::testing::AssertionFailure() << "no fault, expected " << faultName(kind);
  if (fault->kind() != kind)
    return ::testing::AssertionFailure() << faultName(fault->kind()) << ", expected " << faultName(kind);
  return ::testing::AssertionSuccess();
}

}  // namespace diaspring::testing

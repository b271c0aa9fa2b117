#pragma once
// A window without widgets: the handlers over boxes held in memory and a
// recorded chart.

#include <optional>
#include <string>
#include <string_view>

#include "chart/display_list.h"
#include "form/fields.h"
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

}  // namespace diaspring::testing

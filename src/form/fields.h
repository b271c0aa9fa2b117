#pragma once
// The two narrow seams between the calculator and whatever shows it:
// the controls holding text and slider values, and the chart surface
// (chart/surface.h).

#include <string>
#include <string_view>

#include "form/controls.h"

namespace diaspring {

class Fields {
 public:
  virtual ~Fields() = default;
  virtual std::string text(TextBox box) const = 0;
  virtual void setText(TextBox box, std::string_view text) = 0;
  // The slider's current value, within its range.
  virtual int sliderValue(Slider slider) const = 0;
};

// Fields held in memory, starting as the window starts: every box at its
// default text, every slider at its initial value. The headless front end
// and the tests use it.
class MemoryFields final : public Fields {
 public:
  MemoryFields();
  std::string text(TextBox box) const override;
  void setText(TextBox box, std::string_view text) override;
  int sliderValue(Slider slider) const override;
  void setSliderValue(Slider slider, int value);

 private:
  std::string texts_[kTextBoxCount];
  int sliders_[kSliderCount];
};

}  // namespace diaspring

#include "window/window_logic.h"

#include <array>

#include "chart/frame.h"
#include "model/capture.h"
#include "model/points.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

// The output boxes of the points, then the result boxes of the rules, in
// the order the clear command empties them.
constexpr std::array kOutputBoxes{
    TextBox::Text12, TextBox::Text13, TextBox::Text14, TextBox::Text15, TextBox::Text16, TextBox::Text17,
    TextBox::Text18, TextBox::Text19, TextBox::Text20, TextBox::Text21, TextBox::Text22, TextBox::Text23,
    TextBox::Text24, TextBox::Text25, TextBox::Text26, TextBox::Text27, TextBox::Text28, TextBox::Text29,
    TextBox::Text30, TextBox::Text38, TextBox::Text39, TextBox::Text40, TextBox::Text41, TextBox::Text42,
};

// Where each slider writes, and how: value / divisor, in the general number
// form or with a pattern.
struct SliderTarget {
  TextBox box;
  double divisor;
  const char* pattern;  // nullptr: the general number form
};

SliderTarget sliderTarget(Slider slider) {
  switch (slider) {
    case Slider::HScroll1: return {TextBox::Text4, 100, nullptr};
    case Slider::HScroll2: return {TextBox::Text6, 100, nullptr};
    case Slider::HScroll3: return {TextBox::Text7, 10, nullptr};
    case Slider::HScroll4: return {TextBox::Text9, 100, nullptr};
    case Slider::HScroll5: return {TextBox::Text10, 100, "0.000"};
    case Slider::HScroll6: return {TextBox::Text11, 100, "0.000"};
  }
  return {TextBox::Text4, 100, nullptr};
}

template <class Handler>
std::optional<Fault> runHandler(Handler&& handler) {
  try {
    handler();
  } catch (const Fault& fault) {
    return fault;
  }
  return std::nullopt;
}

}  // namespace

WindowLogic::WindowLogic(Fields& fields, Surface& chart) : fields_(fields), chart_(chart) {}

void WindowLogic::command1Click() {
  DrawChartFrame(chart_);
  CaptureDesign(design_, fields_);
  TraceCurve(design_, chart_);
  lambda1N_ = Num();
  lambda1N_ = FindWorkingPoints(design_, fields_, chart_);
  MarkWearAndRelease(design_, fields_, chart_, lambda1N_);
}

void WindowLogic::command2Click() {
  chart_.cls();
  for (TextBox box : kOutputBoxes) fields_.setText(box, "");
}

void WindowLogic::command3Click(RuleResults* results) { ConstraintCheck(design_, fields_, results); }

void WindowLogic::sliderChange(Slider slider) {
  const SliderTarget target = sliderTarget(slider);
  const Num value = Num(fields_.sliderValue(slider)) / target.divisor;
  fields_.setText(target.box, target.pattern ? format(value, target.pattern) : generalText(value));
}

std::optional<Fault> WindowLogic::press(Command command) {
  return runHandler([&] {
    switch (command) {
      case Command::Command1: command1Click(); break;
      case Command::Command2: command2Click(); break;
      case Command::Command3: command3Click(); break;
    }
  });
}

std::optional<Fault> WindowLogic::sliderChanged(Slider slider) {
  return runHandler([&] { sliderChange(slider); });
}

}  // namespace diaspring

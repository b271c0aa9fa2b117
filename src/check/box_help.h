#pragma once
// The tooltips of the desktop and the page, and what each slider, point and
// rule means in Chinese: the tooltips and the 使用说明 guide are written from
// these tables, from form/input_boxes.h and from the rules' table, so all
// say the same.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "form/controls.h"

namespace diaspring {

// Whether the window reads a number from the box for its results; the
// engine boxes are shown for reference only, and H and r are written by the
// curve run.
bool readsNumber(TextBox box);
// Whether the box shows a result: H and r, the twelve point boxes and the
// twelve check boxes. These boxes are read-only.
bool isResultBox(TextBox box);

struct SliderHelp {
  Slider slider;
  const char* target;  // the quantity it sets, with its meaning
  const char* span;    // its range and step
};
std::span<const SliderHelp> sliderHelp();

// What each characteristic point is (M N H B A C), in the order of
// characteristicPoints(). What each rule asks is in its row of ruleInfo().
const char* pointExplanation(int index);

// The tooltips. An input box's tells its meaning, unit and usual range;
// when `readAs` is given (its text is not wholly a number), also which
// number the calculation reads from it. A result box's tells what it shows
// and its full text.
std::string inputToolTip(TextBox box, const std::optional<std::string>& readAs = std::nullopt);
std::string sliderToolTip(Slider slider);
std::string resultToolTip(TextBox box, std::string_view text);

// A box as it is marked for its text: its tooltip, and whether it gets the
// red frame (an input read as a number whose text is not wholly one, or a
// number beyond the range of numbers). A rule's box that shows its failure
// (不合格) tells before it the `failure` its last check recorded
// (WindowLogic::ruleFailure), "H/h = 2.31，范围 1.6–2.2".
struct BoxMark {
  std::string toolTip;
  bool flagged = false;
};
BoxMark boxMark(TextBox box, std::string_view text, std::string_view failure = {});

}  // namespace diaspring

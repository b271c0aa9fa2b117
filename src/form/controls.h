#pragma once
// The controls the handlers talk to, by their names in the window.

#include <optional>
#include <string>
#include <string_view>

namespace diaspring {

// Text1 ... Text42; the number is the box's number.
enum class TextBox : int {
  Text1 = 1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
  Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18, Text19, Text20,
  Text21, Text22, Text23, Text24, Text25, Text26, Text27, Text28, Text29, Text30,
  Text31, Text32, Text33, Text34, Text35, Text36, Text37, Text38, Text39, Text40,
  Text41, Text42,
};
inline constexpr int kTextBoxCount = 42;

enum class Slider : int { HScroll1 = 1, HScroll2, HScroll3, HScroll4, HScroll5, HScroll6 };
inline constexpr int kSliderCount = 6;

enum class Command : int { Command1 = 1, Command2, Command3 };

std::string textBoxName(TextBox box);     // "Text4"
std::string sliderName(Slider slider);    // "HScroll1"
std::string commandName(Command command); // "Command1"
std::optional<TextBox> textBoxFromName(std::string_view name);
std::optional<Slider> sliderFromName(std::string_view name);
std::optional<Command> commandFromName(std::string_view name);

// A slider's range and its value when the window opens.
struct SliderRange {
  int min;
  int max;
  int initial;
};
SliderRange sliderRange(Slider slider);

// The default text of a box when the window opens (empty for the output and
// check boxes and for Text5 and Text8).
std::string_view defaultText(TextBox box);

// The caption of a button ("输出膜片弹簧曲线及描点" ...).
std::string_view commandCaption(Command command);

}  // namespace diaspring

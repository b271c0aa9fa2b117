#include "form/controls.h"

#include <array>
#include <charconv>

namespace diaspring {
namespace {

std::optional<int> numberAfter(std::string_view name, std::string_view prefix, int count) {
  if (name.substr(0, prefix.size()) != prefix) return std::nullopt;
  const std::string_view digits = name.substr(prefix.size());
  if (digits.empty() || digits.front() == '0') return std::nullopt;
  int n = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (ec != std::errc() || end != digits.data() + digits.size() || n < 1 || n > count) return std::nullopt;
  return n;
}

}  // namespace

std::string textBoxName(TextBox box) { return "Text" + std::to_string(static_cast<int>(box)); }
std::string sliderName(Slider slider) { return "HScroll" + std::to_string(static_cast<int>(slider)); }
std::string commandName(Command command) { return "Command" + std::to_string(static_cast<int>(command)); }

std::optional<TextBox> textBoxFromName(std::string_view name) {
  if (auto n = numberAfter(name, "Text", kTextBoxCount)) return static_cast<TextBox>(*n);
  return std::nullopt;
}

std::optional<Slider> sliderFromName(std::string_view name) {
  if (auto n = numberAfter(name, "HScroll", kSliderCount)) return static_cast<Slider>(*n);
  return std::nullopt;
}

std::optional<Command> commandFromName(std::string_view name) {
  if (auto n = numberAfter(name, "Command", 3)) return static_cast<Command>(*n);
  return std::nullopt;
}

SliderRange sliderRange(Slider slider) {
  static constexpr std::array<SliderRange, kSliderCount> kRanges{{
      {200, 400, 200},    // HScroll1: h, hundredths of a mm
      {150, 200, 160},    // HScroll2: H/h, hundredths
      {760, 1350, 1020},  // HScroll3: R, tenths of a mm
      {120, 135, 120},    // HScroll4: R/r, hundredths
      {20, 200, 20},      // HScroll5: wear allowance, hundredths of a mm
      {20, 300, 20},      // HScroll6: release travel, hundredths of a mm
  }};
  return kRanges[static_cast<std::size_t>(static_cast<int>(slider) - 1)];
}

std::string_view defaultText(TextBox box) {
  switch (box) {
    case TextBox::Text1: return "147";
    case TextBox::Text2: return "2300";
    case TextBox::Text3: return "4800";
    case TextBox::Text4: return "2.2";
    case TextBox::Text6: return "1.9";
    case TextBox::Text7: return "84.7";
    case TextBox::Text9: return "1.33";
    case TextBox::Text10: return "1.6";
    case TextBox::Text11: return "1.6";
    case TextBox::Text31: return "210000";
    case TextBox::Text32: return "0.3";
    case TextBox::Text33: return "4593";
    case TextBox::Text34: return "180";
    case TextBox::Text35: return "125";
    case TextBox::Text36: return "18";
    case TextBox::Text37: return "20";
    default: return "";
  }
}

std::string_view commandCaption(Command command) {
  switch (command) {
    case Command::Command1: return "输出膜片弹簧曲线及描点";
    case Command::Command2: return "清空数据";
    case Command::Command3: return "计算并验证约束条件";
  }
  return "";
}

}  // namespace diaspring

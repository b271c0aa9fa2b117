#include "check/box_help.h"

#include "check/constraint_check.h"
#include "check/sheet_contents.h"
#include "form/input_boxes.h"
#include "model/points.h"
#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring {
namespace {

constexpr SliderHelp kSliders[] = {
    {Slider::HScroll1, "h（膜片弹簧厚度）", "2.00–4.00 mm，每步 0.01 mm"},
    {Slider::HScroll2, "H/h（锥高与厚度之比）", "1.50–2.00，每步 0.01"},
    {Slider::HScroll3, "R（碟簧部分外半径）", "76.0–135.0 mm，每步 0.1 mm"},
    {Slider::HScroll4, "R/r（外、内半径之比）", "1.20–1.35，每步 0.01"},
    {Slider::HScroll5, "Δλ（摩擦片磨损余量）", "0.200–2.000 mm，每步 0.01 mm"},
    {Slider::HScroll6, "λ1f（分离行程）", "0.200–3.000 mm，每步 0.01 mm"},
};

// In the order of characteristicPoints(): M, N, H, B, A, C.
constexpr const char* kPointExplanations[] = {
    "峰值点：大端变形 0–10 mm 内载荷的局部最大值。",
    "谷值点：峰值之后载荷的局部最小值；曲线在 M 与 N 之间为负刚度段。",
    "拐点：取峰、谷变形的中点，λ1H = (λ1M + λ1N) / 2。",
    "工作点（新摩擦片压紧时）：λ1B = 0.91 × λ1H；F1B 应等于工作压力 F。",
    "磨损后工作点：λ1A = λ1B − Δλ；摩擦片磨损后弹簧伸开 Δλ。",
    "分离点：λ1C = λ1B + λ1f；分离到底时大端的变形与载荷。",
};

std::string withUnit(const char* unit) { return *unit ? std::string("（") + unit + "）" : std::string(); }

// The number the calculation reads from a text, as the tooltip names it;
// none when it is beyond the range of numbers.
std::optional<std::string> numberRead(std::string_view text) {
  try {
    return generalText(val(text));
  } catch (const Fault&) {
    return std::nullopt;
  }
}

}  // namespace

bool readsNumber(TextBox box) {
  return isNamedInputBox(box);
}

bool isResultBox(TextBox box) {
  if (box == TextBox::Text5 || box == TextBox::Text8) return true;
  for (const PointBoxes& p : characteristicPoints())
    if (p.load == box || p.deflection == box) return true;
  for (int i = 0; i < kRuleCount; ++i)
    if (ruleInfo(i).box == box) return true;
  return false;
}

std::span<const SliderHelp> sliderHelp() { return kSliders; }

const char* pointExplanation(int index) { return kPointExplanations[index]; }

std::string inputToolTip(TextBox box, const std::optional<std::string>& readAs) {
  const InputBox* help = inputFrameBox(box);
  if (help == nullptr) return {};
  std::string tip = std::string(help->symbol) + "：" + help->meaningZh + withUnit(help->unit) + "\n常用范围：" + help->rangeZh;
  if (readAs) tip += "\n此框的内容不全是数字，计算时读作 " + *readAs + "。";
  return tip;
}

std::string sliderToolTip(Slider slider) {
  const SliderHelp& help = kSliders[static_cast<int>(slider) - 1];
  return std::string("调节 ") + help.target + "：" + help.span + "。\n箭头、轨道或方向键每次移动一步；拖动滑块时松开后才写入数值框。";
}

std::string resultToolTip(TextBox box, std::string_view text) {
  std::string what;
  if (const InputBox* help = inputFrameBox(box)) what = std::string(help->symbol) + "：" + help->meaningZh + withUnit(help->unit);
  for (const PointBoxes& p : characteristicPoints()) {
    const std::string role = std::string(p.roleZh) + p.symbol;
    if (p.load == box) what = std::string("F1") + p.symbol + "：" + role + " 的大端载荷（N）";
    if (p.deflection == box) what = std::string("λ1") + p.symbol + "：" + role + " 的大端变形（mm）";
  }
  for (int i = 0; i < kRuleCount; ++i)
    if (ruleInfo(i).box == box) what = "约束 " + std::to_string(i + 1) + "：" + sheet_text::trimmed(ruleInfo(i).caption, true);
  if (text.empty()) return what + "\n（尚无结果）";
  return what + "\n" + std::string(text);
}

BoxMark boxMark(TextBox box, std::string_view text, std::string_view failure) {
  if (isResultBox(box)) {
    // What a failed rule computed, before its verdict, while the box shows it.
    if (!failure.empty() && text == kFailed) return {resultToolTip(box, std::string(failure) + "\n" + std::string(text)), false};
    return {resultToolTip(box, text), false};
  }
  const std::optional<std::string> read = numberRead(text);
  const bool flag = readsNumber(box) && (!isWholeNumber(text) || !read);
  if (!flag) return {inputToolTip(box), false};
  if (read) return {inputToolTip(box, read), true};
  return {inputToolTip(box) + "\n此框的数超出数值范围，计算将报溢出。", true};
}

}  // namespace diaspring

#include "check/box_help.h"

#include <algorithm>
#include <iterator>

#include "check/constraint_check.h"
#include "check/sheet_contents.h"
#include "model/points.h"
#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring {
namespace {

// The usual ranges of the geometry are those the twelve rules accept and the
// sliders span; those of the friction disc follow common practice for
// passenger-car clutches (d/D of 0.53 to 0.70).
constexpr InputHelp kInputs[] = {
    {TextBox::Text1, "Temax", "发动机最大转矩", "N·m", "仅供参考，不参与计算"},
    {TextBox::Text2, "nT", "最大转矩时的转速", "rpm", "仅供参考，不参与计算"},
    {TextBox::Text3, "nmax", "发动机最高转速", "rpm", "仅供参考，不参与计算"},
    {TextBox::Text4, "h", "膜片弹簧厚度", "mm", "2–4 mm（滑块 2.00–4.00）"},
    {TextBox::Text5, "H", "内截锥高度 H = h × H/h（按曲线按钮时算出）", "mm", "由 h 与 H/h 决定"},
    {TextBox::Text6, "H/h", "内截锥高度与厚度之比", "", "1.6–2.2（约束 3）"},
    {TextBox::Text7, "R", "碟簧部分外半径", "mm", "76–135 mm（滑块）"},
    {TextBox::Text8, "r", "碟簧部分内半径 r = R ÷ R/r（按曲线按钮时算出，取两位小数）", "mm", "由 R 与 R/r 决定"},
    {TextBox::Text9, "R/r", "外、内半径之比", "", "1.20–1.35（约束 5）"},
    {TextBox::Text10, "Δλ", "摩擦片磨损余量：磨损后大端变形的减少量", "mm", "0.2–2.0 mm（滑块）"},
    {TextBox::Text11, "λ1f", "分离行程：分离时大端在工作点之后的变形", "mm", "0.2–3.0 mm（滑块）"},
    {TextBox::Text31, "E", "材料弹性模量", "MPa", "弹簧钢约 206000–210000"},
    {TextBox::Text32, "μ", "材料泊松比", "", "钢 0.3"},
    {TextBox::Text33, "F", "摩擦片工作压力（所需压紧力）", "N", "按离合器需传递的转矩确定，轿车一般为数千牛"},
    {TextBox::Text34, "D", "摩擦片外径", "mm", "轿车常见 160–300 mm"},
    {TextBox::Text35, "d", "摩擦片内径", "mm", "d/D 通常 0.53–0.70"},
    {TextBox::Text36, "r0", "膜片弹簧小端（分离指）内半径", "mm", "使 R/r0 在 3.5–5.0（约束 7）"},
    {TextBox::Text37, "rf", "分离轴承作用半径", "mm", "使 rf − r0 在 0–6 mm（约束 11）"},
};

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

// In the order of ruleInfo(): what each rule asks and why.
constexpr const char* kRuleExplanations[] = {
    "工作点 B 的载荷与所需工作压力 F 相差不到 1 N：弹簧在工作点正好提供所需压紧力。",
    "磨损后（A 点）的压紧力不低于新片时（B 点）：摩擦片磨损后离合器不会打滑。",
    "锥高与厚度之比 H/h 在 1.6–2.2：曲线有明显的峰值和谷值，工作点附近载荷变化平缓。",
    "锥底角 H/(R−r)（按小角度换算成度）在 9°–15°。",
    "碟簧部分外、内半径之比 R/r 在 1.20–1.35。",
    "外径与厚度之比 2R/h 在 70–100。",
    "外半径与小端内半径之比 R/r0 在 3.5–5.0。",
    "大端加载半径 R1 = R − 2 落在摩擦片平均半径 (D+d)/4 与外半径 D/2 之间。",
    "大端加载点到外缘的距离 R − R1 在 1–7 mm。",
    "支承环半径 r1 = r + 2 与内半径之差 r1 − r 在 0–6 mm。",
    "分离轴承作用半径与小端内半径之差 rf − r0 在 0–6 mm。",
    "分离指杠杆比 (r1−rf)/(R1−r1) 在 2.3–4.5：分离轴承的力和行程经它换算到大端。",
};
static_assert(std::size(kRuleExplanations) == kRuleCount);

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

std::span<const InputHelp> inputHelp() { return kInputs; }

const InputHelp* inputHelpOf(TextBox box) {
  const auto it = std::find_if(std::begin(kInputs), std::end(kInputs), [box](const InputHelp& h) { return h.box == box; });
  return it == std::end(kInputs) ? nullptr : &*it;
}

bool readsNumber(TextBox box) {
  return inputHelpOf(box) != nullptr && !isResultBox(box) && box != TextBox::Text1 && box != TextBox::Text2 &&
         box != TextBox::Text3;
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
const char* ruleExplanation(int index) { return kRuleExplanations[index]; }

std::string inputToolTip(TextBox box, const std::optional<std::string>& readAs) {
  const InputHelp* help = inputHelpOf(box);
  if (help == nullptr) return {};
  std::string tip = std::string(help->symbol) + "：" + help->meaning + withUnit(help->unit) + "\n常用范围：" + help->range;
  if (readAs) tip += "\n此框的内容不全是数字，计算时读作 " + *readAs + "。";
  return tip;
}

std::string sliderToolTip(Slider slider) {
  const SliderHelp& help = kSliders[static_cast<int>(slider) - 1];
  return std::string("调节 ") + help.target + "：" + help.span + "。\n箭头、轨道或方向键每次移动一步；拖动滑块时松开后才写入数值框。";
}

std::string resultToolTip(TextBox box, std::string_view text) {
  std::string what;
  if (const InputHelp* help = inputHelpOf(box)) what = std::string(help->symbol) + "：" + help->meaning + withUnit(help->unit);
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

BoxMark boxMark(TextBox box, std::string_view text) {
  if (isResultBox(box)) return {resultToolTip(box, text), false};
  const std::optional<std::string> read = numberRead(text);
  const bool flag = readsNumber(box) && (!isWholeNumber(text) || !read);
  if (!flag) return {inputToolTip(box), false};
  if (read) return {inputToolTip(box, read), true};
  return {inputToolTip(box) + "\n此框的数超出数值范围，计算将报溢出。", true};
}

}  // namespace diaspring

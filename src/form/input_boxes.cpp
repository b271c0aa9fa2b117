#include "form/input_boxes.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace diaspring {
namespace {

// The usual ranges of the geometry are those the twelve rules accept and the
// sliders span; those of the friction disc follow common practice for
// passenger-car clutches (d/D of 0.53 to 0.70).
constexpr InputBox kBoxes[] = {
    {TextBox::Text1, "Temax", "Temax", "N·m", "max engine torque", "发动机最大转矩", "", "仅供参考，不参与计算"},
    {TextBox::Text2, "nT", "nT", "rpm", "speed at max torque", "最大转矩时的转速", "", "仅供参考，不参与计算"},
    {TextBox::Text3, "nmax", "nmax", "rpm", "max engine speed", "发动机最高转速", "", "仅供参考，不参与计算"},
    {TextBox::Text4, "h", "h", "mm", "sheet thickness", "膜片弹簧厚度", "膜片厚度", "2–4 mm（滑块 2.00–4.00）"},
    {TextBox::Text5, "", "H", "mm", "", "内截锥高度 H = h × H/h（按曲线按钮时算出）", "内截锥高度（计算值）",
     "由 h 与 H/h 决定"},
    {TextBox::Text6, "HoverH", "H/h", "", "cone height to thickness ratio H/h", "内截锥高度与厚度之比",
     "锥高与厚度之比", "1.6–2.2（约束 3）"},
    {TextBox::Text7, "R", "R", "mm", "outer radius", "碟簧部分外半径", "碟簧部分外半径", "76–135 mm（滑块）"},
    {TextBox::Text8, "", "r", "mm", "", "碟簧部分内半径 r = R ÷ R/r（按曲线按钮时算出，取两位小数）",
     "碟簧部分内半径（计算值）", "由 R 与 R/r 决定"},
    {TextBox::Text9, "RoverR", "R/r", "", "outer to inner radius ratio R/r", "外、内半径之比", "外、内半径之比",
     "1.20–1.35（约束 5）"},
    {TextBox::Text10, "dLambda", "Δλ", "mm", "wear allowance", "摩擦片磨损余量：磨损后大端变形的减少量",
     "摩擦片磨损余量", "0.2–2.0 mm（滑块）"},
    {TextBox::Text11, "lambda1f", "λ1f", "mm", "release travel", "分离行程：分离时大端在工作点之后的变形", "分离行程",
     "0.2–3.0 mm（滑块）"},
    {TextBox::Text31, "E", "E", "MPa", "Young's modulus", "材料弹性模量", "弹性模量", "弹簧钢约 206000–210000"},
    {TextBox::Text32, "mu", "μ", "", "Poisson's ratio", "材料泊松比", "泊松比", "钢 0.3"},
    {TextBox::Text33, "F", "F", "N", "working clamp load", "摩擦片工作压力（所需压紧力）", "摩擦片工作压力",
     "按离合器需传递的转矩确定，轿车一般为数千牛"},
    {TextBox::Text34, "D", "D", "mm", "friction disc outer diameter", "摩擦片外径", "摩擦片外径", "轿车常见 160–300 mm"},
    {TextBox::Text35, "d", "d", "mm", "friction disc inner diameter", "摩擦片内径", "摩擦片内径", "d/D 通常 0.53–0.70"},
    {TextBox::Text36, "r0", "r0", "mm", "inner radius of the spring's small end", "膜片弹簧小端（分离指）内半径",
     "膜片弹簧小端内半径", "使 R/r0 在 3.5–5.0（约束 7）"},
    {TextBox::Text37, "rf", "rf", "mm", "release bearing contact radius", "分离轴承作用半径", "分离轴承作用半径",
     "使 rf − r0 在 0–6 mm（约束 11）"},
};

constexpr bool isEngineBox(TextBox box) {
  return box == TextBox::Text1 || box == TextBox::Text2 || box == TextBox::Text3;
}
constexpr bool isNamed(const InputBox& b) { return *b.name != '\0' && !isEngineBox(b.box); }
constexpr bool isEngine(const InputBox& b) { return isEngineBox(b.box); }
constexpr bool isKept(const InputBox& b) { return *b.name != '\0'; }

constexpr std::size_t countWhere(bool (*keep)(const InputBox&)) {
  return static_cast<std::size_t>(std::count_if(std::begin(kBoxes), std::end(kBoxes), keep));
}

// The rows of kBoxes that `keep` selects, in their order.
template <std::size_t N>
constexpr std::array<InputBox, N> rowsWhere(bool (*keep)(const InputBox&)) {
  std::array<InputBox, N> rows{};
  std::size_t n = 0;
  for (const InputBox& b : kBoxes)
    if (keep(b)) rows[n++] = b;
  return rows;
}

constexpr auto kNamed = rowsWhere<countWhere(isNamed)>(isNamed);
constexpr auto kEngine = rowsWhere<countWhere(isEngine)>(isEngine);
constexpr auto kKept = rowsWhere<countWhere(isKept)>(isKept);

}  // namespace

std::span<const InputBox> inputFrameBoxes() { return kBoxes; }

const InputBox* inputFrameBox(TextBox box) {
  const auto it = std::find_if(std::begin(kBoxes), std::end(kBoxes), [box](const InputBox& b) { return b.box == box; });
  return it == std::end(kBoxes) ? nullptr : &*it;
}

std::span<const InputBox> inputBoxes() { return kKept; }
std::span<const InputBox> namedInputs() { return kNamed; }
std::span<const InputBox> engineInputs() { return kEngine; }

bool isNamedInputBox(TextBox box) {
  const InputBox* b = inputFrameBox(box);
  return b != nullptr && isNamed(*b);
}

const InputBox* namedInputOf(std::string_view name) {
  for (const auto inputs : {namedInputs(), engineInputs()})
    for (const InputBox& input : inputs)
      if (name == input.name) return &input;
  return nullptr;
}

std::optional<TextBox> boxOfNamedInput(std::string_view name) {
  const InputBox* input = namedInputOf(name);
  return input ? std::optional(input->box) : std::nullopt;
}

}  // namespace diaspring

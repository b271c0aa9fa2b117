#include "check/constraint_check.h"

#include <string>

#include "runtime/convert.h"

namespace diaspring {
namespace {

const char* const kRunCurveFirst = "尚未计算特性曲线：请先按“输出膜片弹簧曲线及描点”按钮，再验证约束条件。";
const char* const kNoWorkingPoint =
    "上次计算特性曲线时没有得到工作点 B（计算在此之前已经停止），无法验证约束条件。"
    "请先排除计算曲线时报告的问题，重新计算曲线后再验证。";

constexpr RuleInfo kRules[kRuleCount] = {
    {TextBox::Text24, "|F-F1B|=  ( <1 ) ", "dF", "|F − F1B|", " N", std::nullopt,
     "工作点 B 的载荷与所需工作压力 F 相差不到 1 N：弹簧在工作点正好提供所需压紧力。"},
    {TextBox::Text25, "F1A≥F1B", "F1A_gt_F1B", "", "", std::nullopt,
     "磨损后（A 点）的压紧力不低于新片时（B 点）：摩擦片磨损后离合器不会打滑。"},
    {TextBox::Text26, "   H/h= (1.6-2.2)", "H_h", "H/h", "", RuleRange{1.6, 2.2},
     "锥高与厚度之比 H/h 在 1.6–2.2：曲线有明显的峰值和谷值，工作点附近载荷变化平缓。"},
    {TextBox::Text27, " H/(R-r)= (9°-15°)", "cone_deg", "锥角 H/(R − r)", "°", RuleRange{9, 15},
     "锥底角 H/(R−r)（按小角度换算成度）在 9°–15°。"},
    {TextBox::Text28, "    R/r=   (1.2-1.35)", "R_r", "R/r", "", RuleRange{1.2, 1.35},
     "碟簧部分外、内半径之比 R/r 在 1.20–1.35。"},
    {TextBox::Text29, "  2R/h= (70-100)", "2R_h", "2R/h", "", RuleRange{70, 100},
     "外径与厚度之比 2R/h 在 70–100。"},
    {TextBox::Text30, "  R/r0= (3.5-5.0)", "R_r0", "R/r0", "", RuleRange{3.5, 5},
     "外半径与小端内半径之比 R/r0 在 3.5–5.0。"},
    {TextBox::Text38, "(D+d)/4≤R1≤D/2", "R1_on_disc", "R1", " mm", std::nullopt,
     "大端加载半径 R1 = R − 2 落在摩擦片平均半径 (D+d)/4 与外半径 D/2 之间。"},
    {TextBox::Text39, "R-R1=  (1-7)", "R_R1", "R − R1", " mm", RuleRange{1, 7},
     "大端加载点到外缘的距离 R − R1 在 1–7 mm。"},
    {TextBox::Text40, "r1-r=  (0-6)", "r1_r", "r1 − r", " mm", RuleRange{0, 6},
     "支承环半径 r1 = r + 2 与内半径之差 r1 − r 在 0–6 mm。"},
    {TextBox::Text41, "rf-r0=  (0-6)", "rf_r0", "rf − r0", " mm", RuleRange{0, 6},
     "分离轴承作用半径与小端内半径之差 rf − r0 在 0–6 mm。"},
    {TextBox::Text42, "(r1-rf)/(R1-r1)=    (2.3-4.5)", "lever", "(r1 − rf)/(R1 − r1)", "", RuleRange{2.3, 4.5},
     "分离指杠杆比 (r1−rf)/(R1−r1) 在 2.3–4.5：分离轴承的力和行程经它换算到大端。"},
};

// "H/h = 2.31，范围 1.6–2.2": the value as the box would show it had it passed.
std::string rangeFailure(int rule, const std::string& shown, Num low, Num high) {
  const RuleInfo& q = kRules[rule];
  return std::string(q.symbol) + " = " + shown + q.unit + "，范围 " + generalText(low) + "–" + generalText(high) +
         q.unit;
}

// Whether the quantity of a rule with a fixed range lies in it, bounds included.
bool inRange(int rule, Num q) {
  const RuleRange& range = *kRules[rule].range;
  return range.low <= q && q <= range.high;
}

// The failure of a rule with a fixed range, its value as the box would show it.
std::string rangeFailure(int rule, const std::string& shown) {
  const RuleRange& range = *kRules[rule].range;
  return rangeFailure(rule, shown, range.low, range.high);
}

// Writes each rule's verdict into its box (and into the results when asked).
class Verdicts {
 public:
  Verdicts(Fields& fields, RuleResults* results) : fields_(fields), results_(results) {}

  void write(int rule, Num value, bool passed, std::string shown, std::string failure = {}) {
    fields_.setText(kRules[rule].box, passed ? shown : std::string(kFailed));
    if (results_) (*results_)[static_cast<std::size_t>(rule)] = {true, passed, value, passed ? std::string() : failure};
  }

  // A rule with a fixed range: the number in the form 0.00 and the pass mark.
  void range(int rule, Num q) {
    const bool passed = inRange(rule, q);
    const std::string number = format(q, "0.00");
    write(rule, q, passed, number + kPassMark, passed ? std::string() : rangeFailure(rule, number));
  }

 private:
  Fields& fields_;
  RuleResults* results_;
};

}  // namespace

const RuleInfo& ruleInfo(int index) { return kRules[index]; }

void ConstraintCheck(SpringDesign& d, Fields& fields, RuleResults* results) {
  const auto read = [&fields](TextBox box) { return val(fields.text(box)); };
  if (results) results->fill(RuleResult{});
  Verdicts verdicts(fields, results);

  // 1. The working point's load must meet the clamp load within 1 N.
  const Num F = read(TextBox::Text33);
  // A curve run that stopped before B leaves it unset, and a point the run
  // did not find is never checked against.
  if (d.R.isSet() && !d.lambda1B.isSet()) throw Fault(FaultKind::PointNotFound, kNoWorkingPoint);
  Num loadB;
  try {
    loadB = SpringLoad(d, d.lambda1B);
  } catch (Fault& fault) {
    if (!d.R.isSet()) fault.setCause(kRunCurveFirst);
    throw;
  }
  const Num loadDiff = abs(F - loadB);
  verdicts.write(0, loadDiff, loadDiff < 1, format(loadDiff, "0.000") + kPassMark,
                 "|F − F1B| = " + format(loadDiff, "0.000") + " N，须小于 1 N（F = " + generalText(F) +
                     " N，F1B = " + format(loadB, "0.0") + " N）");

  // 2. The worn-lining load must exceed the working load.
  const Num F1B = SpringLoad(d, d.lambda1B);
  const Num F1A = SpringLoad(d, d.lambda1A);
  verdicts.write(1, Num(), F1B < F1A, kPassed,
                 "F1A = " + format(F1A, "0.0") + " N，F1B = " + format(F1B, "0.0") + " N，须 F1A > F1B");

  // 3. H/h, shown in the general number form.
  const Num heightRatio = d.H / d.h;
  verdicts.write(2, heightRatio, inRange(2, heightRatio), generalText(heightRatio) + kPassMark,
                 rangeFailure(2, format(heightRatio, "0.00")));

  // 4. Cone angle in degrees by the small-angle rule.
  verdicts.range(3, d.H * 180 / (d.R - d.r) / kConeAnglePi);

  // 5. to 7. Radius ratios.
  verdicts.range(4, d.R / d.r);
  verdicts.range(5, d.R * 2 / d.h);
  const Num r0 = read(TextBox::Text36);
  verdicts.range(6, d.R / r0);

  // 8. The load radius lies on the friction disc: (D + d)/4 <= R1 <= D/2.
  const Num D = read(TextBox::Text34);
  const Num discInner = read(TextBox::Text35);
  const Num lower = (D + discInner) / 4;
  const Num upper = D / 2;
  verdicts.write(7, Num(), lower <= d.R1 && d.R1 <= upper, kPassMark,
                 "R1 = " + format(d.R1, "0.00") + " mm，范围 (D + d)/4 = " + format(lower, "0.00") + " mm – D/2 = " +
                     format(upper, "0.00") + " mm");

  // 9. to 12. Radial clearances and the lever ratio of the fingers.
  verdicts.range(8, d.R - d.R1);
  verdicts.range(9, d.r1 - d.r);
  const Num rf = read(TextBox::Text37);
  verdicts.range(10, rf - r0);
  verdicts.range(11, (d.r1 - rf) / (d.R1 - d.r1));
}

}  // namespace diaspring

#include "check/constraint_check.h"

#include <string>

#include "runtime/convert.h"

namespace diaspring {
namespace {

// The cone angle uses this ten-digit value of pi, not the load law's.
constexpr Num kAnglePi = 3.141592654;

const char* const kRunCurveFirst = "尚未计算特性曲线：请先按“输出膜片弹簧曲线及描点”按钮，再验证约束条件。";
const char* const kNoWorkingPoint =
    "上次计算特性曲线时没有得到工作点 B（计算在此之前已经停止），无法验证约束条件。"
    "请先排除计算曲线时报告的问题，重新计算曲线后再验证。";

constexpr RuleInfo kRules[kRuleCount] = {
    {TextBox::Text24, "|F-F1B|=  ( <1 ) ", "dF"},
    {TextBox::Text25, "F1A≥F1B", "F1A_gt_F1B"},
    {TextBox::Text26, "   H/h= (1.6-2.2)", "H_h"},
    {TextBox::Text27, " H/(R-r)= (9°-15°)", "cone_deg"},
    {TextBox::Text28, "    R/r=   (1.2-1.35)", "R_r"},
    {TextBox::Text29, "  2R/h= (70-100)", "2R_h"},
    {TextBox::Text30, "  R/r0= (3.5-5.0)", "R_r0"},
    {TextBox::Text38, "(D+d)/4≤R1≤D/2", "R1_on_disc"},
    {TextBox::Text39, "R-R1=  (1-7)", "R_R1"},
    {TextBox::Text40, "r1-r=  (0-6)", "r1_r"},
    {TextBox::Text41, "rf-r0=  (0-6)", "rf_r0"},
    {TextBox::Text42, "(r1-rf)/(R1-r1)=    (2.3-4.5)", "lever"},
};

// The quantity each range rule tests, as a failure names it, and its unit.
struct RuleQuantity {
  const char* symbol;
  const char* unit;  // after a number, with its space; "" for a ratio
};
constexpr RuleQuantity kQuantities[kRuleCount] = {
    {"|F − F1B|", " N"}, {"", ""}, {"H/h", ""}, {"锥角 H/(R − r)", "°"}, {"R/r", ""}, {"2R/h", ""},
    {"R/r0", ""}, {"R1", " mm"}, {"R − R1", " mm"}, {"r1 − r", " mm"}, {"rf − r0", " mm"}, {"(r1 − rf)/(R1 − r1)", ""},
};

// "H/h = 2.31，范围 1.6–2.2": the value as the box would show it had it passed.
std::string rangeFailure(int rule, const std::string& shown, Num low, Num high) {
  const RuleQuantity& q = kQuantities[rule];
  return std::string(q.symbol) + " = " + shown + q.unit + "，范围 " + generalText(low) + "–" + generalText(high) +
         q.unit;
}

// Writes each rule's verdict into its box (and into the results when asked).
class Verdicts {
 public:
  Verdicts(Fields& fields, RuleResults* results) : fields_(fields), results_(results) {}

  void write(int rule, Num value, bool passed, std::string shown, std::string failure = {}) {
    fields_.setText(kRules[rule].box, passed ? shown : std::string(kFailed));
    if (results_) (*results_)[static_cast<std::size_t>(rule)] = {true, passed, value, passed ? std::string() : failure};
  }

  // A range rule, bounds included: the number with its pattern and the pass mark.
  void range(int rule, Num q, Num low, Num high, const char* pattern) {
    const bool passed = low <= q && q <= high;
    const std::string number = format(q, pattern);
    write(rule, q, passed, number + kPassMark, passed ? std::string() : rangeFailure(rule, number, low, high));
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
  const bool heightPassed = 1.6 <= heightRatio && heightRatio <= 2.2;
  verdicts.write(2, heightRatio, heightPassed, generalText(heightRatio) + kPassMark,
                 rangeFailure(2, format(heightRatio, "0.00"), 1.6, 2.2));

  // 4. Cone angle in degrees by the small-angle rule.
  verdicts.range(3, d.H * 180 / (d.R - d.r) / kAnglePi, 9, 15, "0.00");

  // 5. to 7. Radius ratios.
  verdicts.range(4, d.R / d.r, 1.2, 1.35, "0.00");
  verdicts.range(5, d.R * 2 / d.h, 70, 100, "0.00");
  const Num r0 = read(TextBox::Text36);
  verdicts.range(6, d.R / r0, 3.5, 5, "0.00");

  // 8. The load radius lies on the friction disc: (D + d)/4 <= R1 <= D/2.
  const Num D = read(TextBox::Text34);
  const Num discInner = read(TextBox::Text35);
  const Num lower = (D + discInner) / 4;
  const Num upper = D / 2;
  verdicts.write(7, Num(), lower <= d.R1 && d.R1 <= upper, kPassMark,
                 "R1 = " + format(d.R1, "0.00") + " mm，范围 (D + d)/4 = " + format(lower, "0.00") + " mm – D/2 = " +
                     format(upper, "0.00") + " mm");

  // 9. to 12. Radial clearances and the lever ratio of the fingers.
  verdicts.range(8, d.R - d.R1, 1, 7, "0.00");
  verdicts.range(9, d.r1 - d.r, 0, 6, "0.00");
  const Num rf = read(TextBox::Text37);
  verdicts.range(10, rf - r0, 0, 6, "0.00");
  verdicts.range(11, (d.r1 - rf) / (d.R1 - d.r1), 2.3, 4.5, "0.00");
}

}  // namespace diaspring

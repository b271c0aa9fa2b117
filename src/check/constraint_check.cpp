#include "check/constraint_check.h"

#include <string>

#include "runtime/convert.h"

namespace diaspring {
namespace {

// The cone angle uses this ten-digit value of pi, not the load law's.
constexpr Num kAnglePi = 3.141592654;

const char* const kRunCurveFirst = "尚未计算特性曲线：请先按“输出膜片弹簧曲线及描点”按钮，再验证约束条件。";

bool within(Num q, Num low, Num high) { return low <= q && q <= high; }

// A range rule: the number with its pattern and the pass mark, or the fail word.
void writeRange(Fields& fields, TextBox box, Num q, Num low, Num high, const char* pattern) {
  fields.setText(box, within(q, low, high) ? format(q, pattern) + kPassMark : std::string(kFailed));
}

}  // namespace

void ConstraintCheck(SpringDesign& d, Fields& fields) {
  const auto read = [&fields](TextBox box) { return val(fields.text(box)); };

  // 1. The working point's load must meet the clamp load within 1 N.
  const Num F = read(TextBox::Text33);
  Num loadB;
  try {
    loadB = SpringLoad(d, d.lambda1B);
  } catch (Fault& fault) {
    if (!d.R.isSet()) fault.setCause(kRunCurveFirst);
    throw;
  }
  const Num loadDiff = abs(F - loadB);
  fields.setText(TextBox::Text24, loadDiff < 1 ? format(loadDiff, "0.000") + kPassMark : std::string(kFailed));

  // 2. The worn-lining load must exceed the working load.
  const Num F1B = SpringLoad(d, d.lambda1B);
  const Num F1A = SpringLoad(d, d.lambda1A);
  fields.setText(TextBox::Text25, F1B < F1A ? kPassed : kFailed);

  // 3. H/h, shown in the general number form.
  const Num heightRatio = d.H / d.h;
  fields.setText(TextBox::Text26, within(heightRatio, 1.6, 2.2) ? generalText(heightRatio) + kPassMark
                                                                : std::string(kFailed));

  // 4. Cone angle in degrees by the small-angle rule.
  const Num angle = d.H * 180 / (d.R - d.r) / kAnglePi;
  writeRange(fields, TextBox::Text27, angle, 9, 15, "0.00");

  // 5. to 7. Radius ratios.
  writeRange(fields, TextBox::Text28, d.R / d.r, 1.2, 1.35, "0.00");
  writeRange(fields, TextBox::Text29, d.R * 2 / d.h, 70, 100, "0.00");
  const Num r0 = read(TextBox::Text36);
  writeRange(fields, TextBox::Text30, d.R / r0, 3.5, 5, "0.00");

  // 8. The load radius lies on the friction disc: (D + d)/4 <= R1 <= D/2.
  const Num D = read(TextBox::Text34);
  const Num discInner = read(TextBox::Text35);
  const Num lower = (D + discInner) / 4;
  const Num upper = D / 2;
  fields.setText(TextBox::Text38, lower <= d.R1 && d.R1 <= upper ? kPassMark : kFailed);

  // 9. to 12. Radial clearances and the lever ratio of the fingers.
  writeRange(fields, TextBox::Text39, d.R - d.R1, 1, 7, "0.00");
  writeRange(fields, TextBox::Text40, d.r1 - d.r, 0, 6, "0.00");
  const Num rf = read(TextBox::Text37);
  writeRange(fields, TextBox::Text41, rf - r0, 0, 6, "0.00");
  writeRange(fields, TextBox::Text42, (d.r1 - rf) / (d.R1 - d.r1), 2.3, 4.5, "0.00");
}

}  // namespace diaspring

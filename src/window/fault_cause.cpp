#include "window/fault_cause.h"

#include <cmath>
#include <optional>

#include "runtime/convert.h"

namespace diaspring {
namespace {

// An input of the curve as the run read it.
struct Read {
  const char* name;  // as the form names it
  std::string text;
  std::optional<double> value;  // none: beyond the double range
};

Read readBox(const DesignInputs& run, TextBox box, const char* name) {
  Read r{name, run.text(box), std::nullopt};
  try {
    r.value = val(r.text).value();
  } catch (const Fault&) {
  }
  return r;
}

// "膜片厚度 h 框的“abc”读作 0", "膜片厚度 h 框为空（读作 0）" or "膜片厚度 h = 0".
std::string shown(const Read& r) {
  const std::string number = r.value ? generalText(Num(*r.value)) : std::string("?");
  if (r.text.find_first_not_of(" \t\r\n") == std::string::npos)
    return std::string(r.name) + " 框为空（读作 " + number + "）";
  if (!isWholeNumber(r.text)) return std::string(r.name) + " 框的“" + r.text + "”读作 " + number;
  return std::string(r.name) + " = " + number;
}

// Far beyond any spring: a value whose size alone overflows the load law.
bool huge(const Read& r) { return r.value && *r.value != 0 && (std::fabs(*r.value) >= 1e15 || std::fabs(*r.value) < 1e-15); }

}  // namespace

std::string curveFaultCause(const DesignInputs& run, const Fault& fault) {
  const Read h = readBox(run, TextBox::Text4, "膜片厚度 h");
  const Read ratioH = readBox(run, TextBox::Text6, "H/h");
  const Read R = readBox(run, TextBox::Text7, "外半径 R");
  const Read ratioR = readBox(run, TextBox::Text9, "R/r");
  const Read E = readBox(run, TextBox::Text31, "弹性模量 E");
  const Read mu = readBox(run, TextBox::Text32, "泊松比 μ");
  const Read* all[] = {&h, &ratioH, &R, &ratioR, &E, &mu};

  // In the order the run meets them: reading the boxes, r = R ÷ (R/r),
  // then the load law's terms.
  for (const Read* r : all)
    if (!r->value) return std::string(r->name) + " 框的“" + r->text + "”超出数值范围，无法计算。";
  if (*ratioR.value == 0) return shown(ratioR) + "：内半径 r = R ÷ (R/r) 无法计算。";
  if (*R.value <= 0) return shown(R) + "：外半径必须大于 0。";
  if (*h.value == 0) return shown(h) + "：膜片没有厚度，载荷处处为零，特性曲线没有峰值点。";
  if (*h.value < 0) return shown(h) + "：膜片厚度必须大于 0。";
  if (*E.value <= 0) return shown(E) + "：弹性模量必须大于 0，否则载荷处处为零或为负。";
  if (std::fabs(*mu.value) >= 1)
    return shown(mu) + "：1 − μ² " + (std::fabs(*mu.value) == 1 ? "为 0" : "为负") + "，载荷公式无法计算（μ 通常约 0.3）。";
  if (*ratioR.value <= 1) return shown(ratioR) + "：内半径 r 不小于外半径 R，没有碟簧部分。";
  const double r = val(format(Num(*R.value / *ratioR.value), "0.00")).value();
  if (*R.value - 2 <= r + 2)
    return shown(R) + "、" + shown(ratioR) + "：R − r 不大于 4 mm，加载半径 R1 = R − 2 不大于支承半径 r1 = r + 2。";
  if (*ratioH.value <= 0) return shown(ratioH) + "：膜片没有锥高，载荷随变形一直上升，特性曲线没有峰值点。";
  if (fault.kind() == FaultKind::Overflow || fault.kind() == FaultKind::InvalidOperation)
    for (const Read* rd : all)
      if (huge(*rd)) return shown(*rd) + "：数值远超出常用范围，计算超出数值范围。";
  return {};
}

}  // namespace diaspring

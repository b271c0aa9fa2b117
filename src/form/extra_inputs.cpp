#include "form/extra_inputs.h"

#include <cmath>
#include <limits>

#include "runtime/convert.h"
#include "runtime/full_width.h"

namespace diaspring {
namespace {

// Defaults, for the default design (R = 84.7, r = 63.68, rf = 20, 18 fingers):
// - b = 14 mm: the finger pitch at the root radius r is 2π·63.68/18 = 22.2 mm;
//   the slot between two fingers ends at the root in a relief window some
//   8 to 10 mm wide (textbook guidance for passenger-car springs: slot width
//   3.2...3.5 mm at the tips, window 9...10 mm at the root, e.g. the design
//   examples after 王望予《汽车设计》), which leaves 22.2 - 8 ≈ 14 mm of steel.
// - Rm = 1570 MPa: 60Si2MnA, quenched and tempered, GB/T 1222 table of
//   mechanical properties: σb ≥ 1570 MPa (1568 MPa = 160 kgf/mm² in the
//   1984 edition), σs ≥ 1375 MPa.
// - sigmaAllow = 1700 MPa, sigmaAllowF = 1500 MPa: the permissible stress of
//   a shot-peened 60Si2MnA diaphragm spring is 1500...1700 MPa (王望予
//   《汽车设计》, 机械工业出版社, chapter on the clutch, strength of the
//   diaphragm spring). The two places are loaded differently, so each has its
//   own limit:
//   · the inner upper edge (σI) is in compression. Presetting the spring
//     leaves residual stresses that relieve it, which is why the disc-spring
//     standard (DIN EN 16983, formerly DIN 2093) checks a statically loaded
//     spring by σOM against the yield strength and sets no static limit on
//     σI at all. The upper end of the range is taken.
//   · the finger roots are in tension: the lower end, below Rm.
// - The fatigue line σO = sigmaO0 + fatigueSlope·σu is an example only, of
//   the shape of the endurance diagrams for shot-peened spring steel of
//   1.25 ... 6 mm at 2·10⁶ cycles: 700 MPa at σu = 0 rising at 0.6.
// - requiredCycles = 2·10⁶ release strokes: the longest life of the
//   disc-spring standard's endurance diagrams (DIN 2093:2006, fatigue
//   loading: 10⁵, 5·10⁵ and 2·10⁶ cycles); a spring that bears it bears any
//   life the diagrams know. The lines at 10⁵ and 5·10⁵ cycles are the
//   user's own and have no default.
constexpr ExtraInput kExtras[] = {
    {"n", "n", "-", "18", "number of release fingers", "分离指数", false, false},
    {"b", "b", "mm", "14", "finger width at the root", "分离指根部宽度", false, false},
    {"Rm", "Rm", "MPa", "1570", "tensile strength of the material", "材料抗拉强度", false, false},
    {"sigmaAllow", "[σ]", "MPa", "1700", "permissible stress, inner upper edge (compression)", "内上缘许用应力", false, false},
    {"sigmaAllowF", "[σf]", "MPa", "1500", "permissible stress, finger roots (tension)", "指根许用应力", false, false},
    {"sigmaO0", "σO0", "MPa", "700", "fatigue line at 2e6 cycles: upper stress at zero lower stress",
     "疲劳线（2·10⁶ 次）：σO0", true, false},
    {"fatigueSlope", "m", "-", "0.6", "fatigue line at 2e6 cycles: slope dσO/dσu", "疲劳线（2·10⁶ 次）：斜率", true, false},
    {"requiredCycles", "N", "-", "2000000", "required life in release strokes", "要求寿命（分离次数）", false, false},
    {"sigmaO0At5e5", "σO0(5e5)", "MPa", "", "fatigue line at 5e5 cycles: upper stress at zero lower stress (empty: none)",
     "疲劳线（5·10⁵ 次）：σO0", false, true},
    {"fatigueSlopeAt5e5", "m(5e5)", "-", "", "fatigue line at 5e5 cycles: slope (empty: none)", "疲劳线（5·10⁵ 次）：斜率",
     false, true},
    {"sigmaO0At1e5", "σO0(1e5)", "MPa", "", "fatigue line at 1e5 cycles: upper stress at zero lower stress (empty: none)",
     "疲劳线（10⁵ 次）：σO0", false, true},
    {"fatigueSlopeAt1e5", "m(1e5)", "-", "", "fatigue line at 1e5 cycles: slope (empty: none)", "疲劳线（10⁵ 次）：斜率",
     false, true},
};

}  // namespace

std::span<const ExtraInput> extraInputs() { return kExtras; }

const ExtraInput* extraInputOfName(std::string_view name) {
  for (const ExtraInput& input : kExtras)
    if (name == input.name) return &input;
  return nullptr;
}

std::string extraText(const DesignInputs& inputs, const ExtraInput& input) {
  if (auto text = inputs.extra(input.name)) return std::string(*text);
  return input.defaultText;
}

bool changesExtra(const DesignInputs& inputs, std::string_view name) {
  const ExtraInput* input = extraInputOfName(name);
  const auto text = inputs.extra(name);
  return input != nullptr && text && *text != input->defaultText;
}

bool setsFatigueLines(const DesignInputs& inputs) {
  for (const char* name : {"sigmaO0", "fatigueSlope", "sigmaO0At5e5", "fatigueSlopeAt5e5", "sigmaO0At1e5", "fatigueSlopeAt1e5"})
    if (changesExtra(inputs, name)) return true;
  return false;
}

ExtraValue readExtra(const ExtraInput& input, std::string_view typed) {
  ExtraValue result;
  const std::optional<std::string> narrowed = narrowFullWidth(typed);  // full-width digits read as ASCII
  const std::string_view text = narrowed ? std::string_view(*narrowed) : typed;
  if (input.optional && text.find_first_not_of(" \t") == std::string_view::npos) {
    result.value = std::numeric_limits<double>::quiet_NaN();
    return result;
  }
  if (!isWholeNumber(text)) {
    result.error = std::string(input.name) + ": '" + std::string(typed) + "' is not a number";
    return result;
  }
  try {
    result.value = val(text).value();
  } catch (const Fault&) {
    result.error = std::string(input.name) + ": '" + std::string(typed) + "' is out of range";
  }
  return result;
}

}  // namespace diaspring

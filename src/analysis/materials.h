#pragma once
// The spring steels of diaphragm and disc springs, as data: every number
// with the standard and table (or the maker's document) it comes from. A
// value no source gives is left empty (NaN, no source) rather than guessed.
//
// A design names its material by the extra "material" (see kMaterialKey):
// the name of one of the library's steels, or a name of the user's own,
// whose numbers are then the user's (E and μ in their boxes, Rm and the
// permissible stresses as analysis inputs) and are marked 用户数据. Choosing
// a steel of the library types its E and μ into their boxes and sets Rm and
// the permissible stresses derived from it (materialTexts).

#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/controls.h"
#include "form/design_inputs.h"

namespace diaspring {

// The extra a design keeps its material's name under.
inline constexpr std::string_view kMaterialKey = "material";
// The mark of numbers the user typed: no table stands behind them.
inline constexpr const char* kUserDataMark = "用户数据";

struct MaterialValue {
  double value = std::numeric_limits<double>::quiet_NaN();
  const char* source = "";  // the standard and its table, or the maker's document; "" when empty
  bool given() const { return !std::isnan(value); }
};

struct Material {
  const char* name;     // "60Si2MnA": what --material and design files take
  const char* aliases;  // other names of the same steel, space-separated ("1.7102 55SiCrA"), or ""
  const char* standard; // the delivery standard of the steel
  MaterialValue E;      // Young's modulus, MPa
  MaterialValue mu;     // Poisson's ratio
  MaterialValue Rm;     // least tensile strength, MPa
  MaterialValue Re;     // least yield strength (ReL or Rp0.2), MPa
  MaterialValue hardnessMin, hardnessMax;  // HRC
  MaterialValue maxThickness;              // mm: the largest section the values hold for
  MaterialValue maxTemperature;            // °C: the highest working temperature
  const char* note;     // where sources disagree, and what was taken
};

std::span<const Material> materials();
// A material's numbers with their keys ("E", "mu", "Rm", "Re", "hardnessMin",
// "hardnessMax", "maxThickness", "maxTemperature"), units and Chinese captions.
struct MaterialField {
  const char* key;
  const char* symbol;  // "E", "μ", "Rm", "Re"; "" where the caption says it
  const char* unit;
  const char* captionZh;
  const MaterialValue* value;
};
std::vector<MaterialField> materialFields(const Material& material);
// The library's steel of this name or alias (letter case ignored); nullptr
// for a name the library does not hold (a user's own material).
const Material* materialOfName(std::string_view name);

// The permissible stresses the analysis takes from a tensile strength Rm:
// the textbook range for shot-peened 60Si2MnA (1500 ... 1700 MPa at
// Rm = 1570 MPa, see form/extra_inputs.cpp) in proportion to Rm:
//   [σ]  = Rm · 1700/1570 (the inner upper edge, in compression)
//   [σf] = Rm · 1500/1570 (the finger roots, in tension)
// so 60Si2MnA keeps the defaults exactly.
struct MaterialLimits {
  double sigmaAllow = 0, sigmaAllowF = 0;
};
MaterialLimits limitsOfStrength(double Rm);
// The proportion is this program's assumption, not a standard's rule: its
// basis says so wherever a limit derived by it is shown. No published rule
// for [σ] (σI, the inner upper edge, in compression) or [σf] (the finger
// roots) as a share of Rm was found: the disc-spring standard's static rule
// bounds σOM by Rm (Reliable Pressings quoting DIN 2093: σOM "should not
// exceed the tensile strength Rm"), which the analysis checks with Rm
// itself, and its limits for σI and the fingers are not given there.
inline constexpr const char* kLimitsBasis = "由 Rm 按比例换算（本程序假设，非标准值，须核对）";
inline constexpr const char* kLimitsRule =
    "[σ] = Rm·1700/1570，[σf] = Rm·1500/1570（本程序的假设：以王望予《汽车设计》60Si2MnA 喷丸膜片弹簧 1500…1700 MPa 为基准按 Rm 换算，非标准值，签发前须核对）";

// What choosing `material` types: E and μ into their boxes, as text, and
// Rm, sigmaAllow, sigmaAllowF and the material's name as analysis inputs.
// A value the library leaves empty is not typed (the box keeps its text).
struct MaterialTexts {
  std::vector<std::pair<TextBox, std::string>> boxes;
  std::vector<std::pair<std::string, std::string>> extras;  // name, text
};
MaterialTexts materialTexts(const Material& material);
// Types those texts into `inputs`.
void applyMaterial(DesignInputs& inputs, const Material& material);

// The material a design names: the library's steel, a user's own (`user`:
// the name is not in the library), or none (the extra is unset or empty).
struct DesignMaterial {
  std::string name;                    // as the design names it; empty: none chosen
  const Material* library = nullptr;   // nullptr for a user's own or none
  bool user() const { return !name.empty() && library == nullptr; }
  // "60Si2MnA（GB/T 1222-2016）" / "MySteel（用户数据）" / "" for none.
  std::string caption() const;
  // The basis of a number taken from the material: the library's source of
  // Rm, or 用户数据; "" when no material is chosen.
  std::string strengthBasis() const;
};
DesignMaterial designMaterial(const DesignInputs& inputs);

// The material box's tooltip (the analysis window, the page).
inline constexpr const char* kMaterialBoxToolTip =
    "选择材料库中的钢种：E、μ 写入主窗口，Rm 与许用应力按材料设定；输入库中没有的名称即为自定义材料（用户数据）";

// The line beside the material box (the analysis window, the page): the
// steel with its standard, Rm and the other numbers the library gives but E
// and μ (those are in their boxes), and the library's note; for a user's own
// material, that its numbers are the user's; for none, that none is chosen.
std::string materialNoteZh(const DesignMaterial& material);

// The material as the design sheet's release page lists it, one line each:
// "60Si2MnA（GB/T 1222）", "抗拉强度（最小） Rm = 1570 MPa：GB/T 1222 …", a
// line for the values no source gives, the note and the rule of the limits;
// for a user's own material its name and 用户数据; for none, that none is chosen.
// With `inputs`, E and μ boxes that differ from the library's are named (用户数据).
std::vector<std::string> materialSheetLines(const DesignMaterial& material, const DesignInputs* inputs = nullptr);

}  // namespace diaspring

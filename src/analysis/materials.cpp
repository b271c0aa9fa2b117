#include "analysis/materials.h"

#include <algorithm>
#include <cctype>
#include <tuple>

#include "runtime/convert.h"
#include "runtime/float_text.h"

namespace diaspring {
namespace {

// Sources (every number below names one of them; each was read in the
// document named, except where a line says it was not):
// - E = 206 000 MPa and μ = 0.3 for spring steel: the value the disc-spring
//   standards DIN 2092 / DIN 2093 (now DIN EN 16984 / DIN EN 16983) compute
//   with, as the makers quote it: Schnorr, Handbook for Disc Springs (2003),
//   "Disc springs of special materials": "steel with E = 206 000 N/mm² and
//   μ = 0.3"; Mubea Disc Springs
//   Manual, table 5.1, E at 20 °C = 206 000 N/mm² for Ck 67 (1.1231) and
//   50 CrV 4 (1.8159); Schnorr's table of symbols "μ (for spring steel = 0.3)".
//   The standard's own clause was not read. Chinese textbooks (王望予《汽车设计》)
//   take E = 2.1·10⁵ MPa, the form's default.
// - GB/T 1222 (弹簧钢), table of mechanical properties of quenched and
//   tempered test pieces: 60Si2MnA Rm ≥ 1570, ReL ≥ 1375 MPa; 50CrVA
//   Rm ≥ 1275, ReL ≥ 1130 MPa (the 1984 edition: 1568/1372 and 1274/1128,
//   i.e. 160/140 and 130/115 kgf/mm²). The table holds for sections of at
//   most 80 mm; its column of uses gives 60Si2Mn for heat-resisting springs
//   below 250 °C and 50CrVA below 400 °C (as reprinted from GB/T 1222-1984
//   in the textbooks' appendix table of alloy spring steels). Not re-read
//   this round: no copy of the table could be found among the readable pages.
// - Hardness of disc springs 42 ... 52 HRC (DIN 2093 14.1; DIN EN 16983):
//   read in the makers' reprints of the standard's table, not in the
//   standard: Mubea, general tolerances, table A (hardness 42 - 52 HRC for
//   groups 1 and 2, beside the standard's thickness, height and force
//   tolerances); Spirol, disc spring catalogue, standard materials Ck67 and
//   50CrV4 "HRC 42 - 52".
// - 51CrV4 (1.8159): stockist's material card (akrostal.pl, PN-EN 10132-4),
//   after quenching and tempering, d ≤ 16 mm (flat bar t ≤ 8 mm):
//   Rm 1100 ... 1300 MPa, Rp0.2 ≥ 900 MPa. EN 10089 gives quenched and
//   tempered spring steel higher values, but no copy of its table could be
//   read here: the lower, readable values are taken.
// - C67S, C75S (EN 10132-4, quenched and tempered, +QT): C67S Rm 1200 ...
//   1700 MPa for 0.3 ≤ t < 3 mm (akrostal.pl card after PN-EN 10132-4) or
//   1200 ... 1900 MPa for 0.30 ... 3.00 mm (Saarstahl C67S material sheet);
//   C75S Rm 1200 ... 1900 MPa (gdcgoodsteels.com after DIN EN 10132-4:2000).
//   The sources differ in the upper end only: the common least value,
//   1200 MPa, is taken. None gives Re in the +QT state: empty.
// - 54SiCr6 (1.7102, EN 10089): steelmax.co.kr, "54SiCr6, 1.7102, QT
//   condition": quenched and tempered "1300 MPa minimum", without saying
//   whether that is Rm or Rp0.2; as Rm ≥ Rp0.2, Rm ≥ 1300 MPa holds either
//   way and is taken; Re is left empty. EN 10089's own table was not read.
// A number's source is short, so that a check's basis line keeps it whole;
// the material's note names the documents in full.
constexpr const char* kDiscStandards = "DIN 2092/2093 计算值（Schnorr、Mubea 手册转引）";
constexpr const char* kGb1222 = "GB/T 1222 力学性能表（淬火+回火试样）";
constexpr const char* kGb1222Section = "GB/T 1222 力学性能表注：截面单边尺寸 ≤ 80 mm";
constexpr const char* kGb1222Use = "GB/T 1222-1984 用途栏（教材附表摘录）";
constexpr const char* kDin2093Hardness = "DIN 2093 14.1 碟簧硬度（Mubea、Spirol 转引）";
constexpr const char* kCard51CrV4 = "akrostal.pl 51CrV4 材料卡（PN-EN 10132-4），调质后 d ≤ 16 mm";
constexpr const char* kQt10132 = "EN 10132-4 调质（+QT）Rm 下限（厂商资料转引）";
constexpr const char* kQtThickness = "akrostal.pl、Saarstahl C67S 调质值：0.3…3 mm";
constexpr const char* kQt54SiCr6 = "steelmax.co.kr 54SiCr6 调质 ≥ 1300 MPa（EN 10089）";

constexpr MaterialValue kE{206000, kDiscStandards};
constexpr MaterialValue kMu{0.3, kDiscStandards};
constexpr MaterialValue kEmpty{};

constexpr Material kMaterials[] = {
    {"60Si2MnA", "60Si2Mn", "GB/T 1222", kE, kMu, {1570, kGb1222}, {1375, kGb1222}, kEmpty, kEmpty,
     {80, kGb1222Section}, {250, kGb1222Use},
     "E 按碟簧标准取 206000 MPa（Schnorr《Handbook for Disc Springs》、Mubea 碟簧手册表 5.1 转引；教材取 2.1e5 MPa）；淬火硬度无标准值"},
    {"50CrVA", "50CrV", "GB/T 1222", kE, kMu, {1275, kGb1222}, {1130, kGb1222}, kEmpty, kEmpty,
     {80, kGb1222Section}, {400, kGb1222Use},
     "E 按碟簧标准取 206000 MPa（Schnorr《Handbook for Disc Springs》、Mubea 碟簧手册表 5.1 转引；教材取 2.1e5 MPa）；淬火硬度无标准值"},
    {"54SiCr6", "1.7102 55SiCrA", "EN 10089", kE, kMu, {1300, kQt54SiCr6}, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty,
     "未能查阅 EN 10089 调质试样性能表：steelmax.co.kr 写“1300 MPa minimum”而未注明 Rm 或 Rp0.2，因 Rm ≥ Rp0.2 取 Rm ≥ 1300 MPa；Re 等留空，请按供货方数据核对"},
    {"51CrV4", "1.8159 50CrV4", "EN 10132-4 / EN 10089", kE, kMu, {1100, kCard51CrV4}, {900, kCard51CrV4},
     {42, kDin2093Hardness}, {52, kDin2093Hardness}, {8, kCard51CrV4}, kEmpty,
     "Rm、Re 取可查阅的较低值（材料卡）；EN 10089 弹簧钢调质值较高但未能查阅；硬度 42…52 HRC 据 Mubea 碟簧公差表 A、Spirol 目录转引 DIN 2093，标准原文未能查阅"},
    {"C75S", "1.1248", "EN 10132-4", kE, kMu, {1200, kQt10132}, kEmpty, {42, kDin2093Hardness},
     {52, kDin2093Hardness}, kEmpty, kEmpty,
     "调质 Rm：gdcgoodsteels.com（据 DIN EN 10132-4:2000）1200…1900 MPa，与 C67S 各来源下限一致，取 1200 MPa；调质 Re、适用厚度无来源，留空；硬度 42…52 HRC 据 Mubea 碟簧公差表 A、Spirol 目录转引 DIN 2093，标准原文未能查阅"},
    {"C67S", "1.1231", "EN 10132-4", kE, kMu, {1200, kQt10132}, kEmpty, {42, kDin2093Hardness},
     {52, kDin2093Hardness}, {3, kQtThickness}, kEmpty,
     "调质 Rm：akrostal.pl 材料卡 1200…1700 MPa、Saarstahl 数据单 1200…1900 MPa（均据 EN 10132-4），上限不一，取共同下限 1200 MPa；调质 Re 无来源，留空；硬度 42…52 HRC 据 Mubea 碟簧公差表 A、Spirol 目录转引 DIN 2093，标准原文未能查阅"},
};

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool hasAlias(const Material& m, std::string_view name) {
  std::string_view rest = m.aliases;
  while (!rest.empty()) {
    const std::size_t space = rest.find(' ');
    if (sameName(rest.substr(0, space), name)) return true;
    if (space == std::string_view::npos) break;
    rest.remove_prefix(space + 1);
  }
  return false;
}

// The shortest text that reads back as `value` (as the window writes numbers).
std::string numberText(double value) { return shortestText(value); }

}  // namespace

std::span<const Material> materials() { return kMaterials; }

std::vector<MaterialField> materialFields(const Material& m) {
  return {{"E", "E", "MPa", "弹性模量", &m.E},
          {"mu", "μ", "-", "泊松比", &m.mu},
          {"Rm", "Rm", "MPa", "抗拉强度（最小）", &m.Rm},
          {"Re", "Re", "MPa", "屈服强度（最小）", &m.Re},
          {"hardnessMin", "", "HRC", "硬度下限", &m.hardnessMin},
          {"hardnessMax", "", "HRC", "硬度上限", &m.hardnessMax},
          {"maxThickness", "", "mm", "适用最大厚度", &m.maxThickness},
          {"maxTemperature", "", "°C", "最高工作温度", &m.maxTemperature}};
}

const Material* materialOfName(std::string_view name) {
  for (const Material& m : kMaterials)
    if (sameName(m.name, name) || hasAlias(m, name)) return &m;
  return nullptr;
}

MaterialLimits limitsOfStrength(double Rm) { return {Rm * 1700 / 1570, Rm * 1500 / 1570}; }

MaterialTexts materialTexts(const Material& m) {
  MaterialTexts t;
  if (m.E.given()) t.boxes.emplace_back(TextBox::Text31, numberText(m.E.value));
  if (m.mu.given()) t.boxes.emplace_back(TextBox::Text32, numberText(m.mu.value));
  t.extras.emplace_back(std::string(kMaterialKey), m.name);
  if (m.Rm.given()) {
    const MaterialLimits limits = limitsOfStrength(m.Rm.value);
    t.extras.emplace_back("Rm", numberText(m.Rm.value));
    t.extras.emplace_back("sigmaAllow", format(limits.sigmaAllow, "0"));
    t.extras.emplace_back("sigmaAllowF", format(limits.sigmaAllowF, "0"));
  }
  return t;
}

void applyMaterial(DesignInputs& inputs, const Material& material) {
  const MaterialTexts t = materialTexts(material);
  for (const auto& [box, text] : t.boxes) inputs.setText(box, text);
  for (const auto& [name, text] : t.extras) inputs.setExtra(name, text);
}

std::string DesignMaterial::caption() const {
  if (name.empty()) return "";
  if (library == nullptr) return name + "（" + kUserDataMark + "）";
  return name + "（" + library->standard + "）";
}

std::string DesignMaterial::strengthBasis() const {
  if (name.empty()) return "";
  if (library == nullptr || !library->Rm.given()) return kUserDataMark;
  return library->Rm.source;
}

std::string materialNoteZh(const DesignMaterial& material) {
  if (material.library != nullptr) {
    std::string note = material.caption();
    for (const MaterialField& f : materialFields(*material.library)) {
      const std::string_view key = f.key;
      if (!f.value->given() || key == "E" || key == "mu") continue;
      note += std::string("；") + f.captionZh + " " + format(f.value->value, "0") +
              (std::string_view(f.unit) == "-" ? std::string() : std::string(" ") + f.unit);
    }
    return note + "。" + material.library->note;
  }
  if (material.user()) return material.caption() + "：E、μ、Rm 与许用应力为用户输入的数值";
  return "未选择材料：E、μ、Rm 与许用应力为输入框中的数值";
}

std::vector<std::string> materialSheetLines(const DesignMaterial& material, const DesignInputs* inputs) {
  if (material.name.empty()) return {"未选择材料：E、μ、Rm 及许用应力为输入框中的数值"};
  if (material.library == nullptr)
    return {material.caption(), std::string("E、μ、Rm 及许用应力为用户输入的数值（") + kUserDataMark + "）"};
  std::vector<std::string> lines{material.caption()};
  std::string empty;
  for (const MaterialField& f : materialFields(*material.library)) {
    if (!f.value->given()) {
      empty += std::string(empty.empty() ? "" : "、") + f.captionZh;
      continue;
    }
    const std::string unit = std::string_view(f.unit) == "-" ? "" : std::string(" ") + f.unit;
    const std::string symbol = *f.symbol != '\0' ? std::string(" ") + f.symbol + " =" : std::string();
    lines.push_back(std::string(f.captionZh) + symbol + " " + shortestText(f.value->value) + unit + "：" + f.value->source);
  }
  if (inputs != nullptr) {
    const Material& m = *material.library;
    for (const auto& [box, value, name] : {std::tuple{TextBox::Text31, &m.E, "E"}, std::tuple{TextBox::Text32, &m.mu, "μ"}}) {
      const std::string& typed = inputs->text(box);
      if (value->given() && typed != shortestText(value->value))
        lines.push_back(std::string("注意：") + name + " 框为“" + typed + "”，与材料库的 " + shortestText(value->value) +
                        " 不同（" + kUserDataMark + "）");
    }
  }
  if (!empty.empty()) lines.push_back("无可查来源，留空：" + empty);
  lines.push_back(std::string("说明：") + material.library->note);
  lines.push_back(std::string("许用应力：") + kLimitsRule);
  return lines;
}

DesignMaterial designMaterial(const DesignInputs& inputs) {
  DesignMaterial m;
  if (auto name = inputs.extra(kMaterialKey)) {
    m.name = std::string(*name);
    if (!m.name.empty()) m.library = materialOfName(m.name);
  }
  return m;
}

}  // namespace diaspring

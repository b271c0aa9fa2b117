#include "analysis/analysis_table.h"

#include <cmath>

#include "analysis/materials.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

constexpr PointColumn kColumns[] = {
    {"lambda1", "λ1", "mm", &PointState::lambda1, "0.000", true},
    {"F1", "F1", "N", &PointState::F1, "0.0", true},
    {"s", "s", "mm", &PointState::s, "0.000", true},
    {"sigmaOM", "σOM", "MPa", &PointState::sigmaOM, "0.0", true},
    {"sigmaI", "σI", "MPa", &PointState::sigmaI, "0.0", true},
    {"sigmaII", "σII", "MPa", &PointState::sigmaII, "0.0", true},
    {"sigmaIII", "σIII", "MPa", &PointState::sigmaIII, "0.0", true},
    {"sigmaIV", "σIV", "MPa", &PointState::sigmaIV, "0.0", true},
    {"F2", "F2", "N", &PointState::F2, "0.0", true},
    {"sigmaFinger", "σf", "MPa", &PointState::sigmaFinger, "0.0", true},
    {"lambda2", "λ2", "mm", &PointState::lambda2, "0.000", false},
};

const char* const kFatigueBasisUser = "用户疲劳线（10⁵/5·10⁵/2·10⁶ 次，lg N 插值）";

CheckLine fatigueLine(const char* stroke, const char* strokeZh, const StrokeFatigue& f, const AnalysisParams& params) {
  const FatiguePlace& p = f.governingPlace();
  const FatiguePlace& shortest = f.shortestLifePlace();
  const std::string place = std::string(p.name) == "finger" ? "finger root" : std::string(p.name);
  const std::string placeZh = std::string(p.name) == "finger" ? "指根" : std::string(p.name) + " 点";
  CheckLine line;
  line.what = std::string("fatigue, ") + stroke + " (" + place + "): σO(σu)/σo ≥ 1";
  line.whatZh = std::string("疲劳，") + strokeZh + "（" + placeZh + "）：σO(σu)/σo ≥ 1";
  line.value = "σu " + analysisNumber(p.sigmaU, "0") + ", σo " + analysisNumber(p.sigmaO, "0") + " MPa, S = " +
               analysisNumber(p.safety, "0.00") + ", N " + shortest.life.text();
  line.limit = "σO " + analysisNumber(p.sigmaOPermissible, "0") + " MPa, N ≥ " + analysisNumber(params.requiredCycles, "0");
  line.pass = shortest.life.covers(params.requiredCycles);
  line.dataMark = params.userFatigueData ? kUserDataMark : kExampleDataMark;
  line.basis = params.userFatigueData ? kFatigueBasisUser : kExampleDataMark;
  return line;
}

}  // namespace

std::span<const PointColumn> pointColumns() { return kColumns; }

std::string analysisNumber(double value, const char* pattern) {
  if (std::isnan(value)) return "—";
  if (std::isinf(value)) return value > 0 ? "∞" : "-∞";
  return format(value, pattern);
}

bool CheckLine::example() const { return dataMark == kExampleDataMark; }

std::string CheckLine::verdictZh() const {
  if (example()) return kExampleDataMark;
  const std::string plain = pass ? "通过" : "不通过";
  return dataMark.empty() ? plain : plain + "（" + dataMark + "）";
}

std::string CheckLine::markedVerdictZh() const {
  return example() ? verdictZh() : std::string(pass ? "✔ " : "✘ ") + verdictZh();
}

std::string CheckLine::limitLineZh() const { return "限值 " + limit; }

std::string CheckLine::basisLineZh() const { return std::string(analysis_sheet::kBasisColumn) + "：" + basis; }

std::string CheckLine::verdict() const {
  if (example()) return "example data, not for release";
  const std::string plain = pass ? "pass" : "FAIL";
  return dataMark.empty() ? plain : plain + " (user data)";
}

std::vector<CheckLine> checkLines(const SpringAnalysis& a, const AnalysisParams& p) {
  const StaticChecks& c = a.checks;
  const auto mpa = [](double v) { return analysisNumber(v, "0.0") + " MPa"; };
  const auto marked = [](const std::string& basis) { return basis == kUserDataMark ? std::string(kUserDataMark) : std::string(); };
  std::vector<CheckLine> lines = {
      {"|σOM|max ≤ Rm (0 ... λ1C)", "碟簧中性点最大应力 |σOM| ≤ Rm", mpa(c.sigmaOMmax), mpa(p.Rm), c.omPass,
       "DIN 2093 静载 σOM；Rm：" + p.strengthBasis, marked(p.strengthBasis)},
      {"|σI|max ≤ [σ] (0 ... λ1C)", "内上缘最大应力 |σI| ≤ [σ]", mpa(c.sigmaImax), mpa(p.sigmaAllow), c.iPass,
       "[σ]：" + p.limitsBasis, marked(p.limitsBasis)},
      {"σf at F2max ≤ [σf]", "最大分离力时指根应力 σf ≤ [σf]", mpa(c.sigmaFingerMax), mpa(p.sigmaAllowF), c.fingerPass,
       "[σf]：" + p.limitsBasis, marked(p.limitsBasis)},
      {"installed s ≥ 0.20·h0 (B, A)", "安装变形 s ≥ 0.20·h0（B、A 点，防裂最小预压）", analysisNumber(c.installedS, "0.000") + " mm",
       analysisNumber(c.minimumS, "0.000") + " mm", c.preloadPass, "DIN 2093:1992 11.1（0.15…0.20·h0，取 0.20）", ""},
  };
  lines.push_back(fatigueLine("new lining", "新摩擦片", a.fatigueNew, p));
  lines.push_back(fatigueLine("worn lining", "磨损后", a.fatigueWorn, p));
  return lines;
}

namespace analysis_sheet {

std::string strokeLine(const SpringAnalysis& analysis, bool worn) {
  const ReleaseStroke& s = worn ? analysis.wornStroke : analysis.newStroke;
  return std::string(worn ? "磨损后" : "新摩擦片") + "：λ1 " + analysisNumber(s.lambda1Start, "0.000") + " … " +
         analysisNumber(s.lambda1End, "0.000") + " mm，最大分离力 F2max = " + analysisNumber(s.F2max, "0.0") +
         " N（λ1 = " + analysisNumber(s.lambda1AtF2max, "0.000") + " mm），行程终点分离行程 λ2 = " +
         analysisNumber(s.lambda2End, "0.000") + " mm";
}

std::string fatigueLinesLine(const AnalysisParams& p) {
  const auto line = [](const char* life, double o0, double m) {
    return std::string("疲劳线（") + life + " 次）σO = " + analysisNumber(o0, "0") + " + " + analysisNumber(m, "0.00") + "·σu MPa";
  };
  std::string text = line("2·10⁶", p.sigmaO0, p.fatigueSlope);
  if (!std::isnan(p.sigmaO0At5e5)) text += "；" + line("5·10⁵", p.sigmaO0At5e5, p.fatigueSlopeAt5e5);
  if (!std::isnan(p.sigmaO0At1e5)) text += "；" + line("10⁵", p.sigmaO0At1e5, p.fatigueSlopeAt1e5);
  text += std::string("（") + (p.userFatigueData ? kUserDataMark : kExampleDataMark) + "）；要求寿命 N = " +
          analysisNumber(p.requiredCycles, "0") + " 次";
  return text;
}

std::string materialLine(const AnalysisParams& p) {
  return "材料：" + (p.material.empty() ? std::string("未选择") : p.material) + "；Rm：" + p.strengthBasis;
}

std::string stiffnessLine(const SpringAnalysis& analysis) {
  return "分离指刚度 kf = " + analysisNumber(analysis.kf, "0.0") + " N/mm";
}

}  // namespace analysis_sheet

}  // namespace diaspring

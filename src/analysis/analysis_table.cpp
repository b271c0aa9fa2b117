#include "analysis/analysis_table.h"

#include <cmath>

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

CheckLine fatigueLine(const char* stroke, const char* strokeZh, const StrokeFatigue& f) {
  const FatiguePlace& p = f.governingPlace();
  const std::string place = std::string(p.name) == "finger" ? "finger root" : std::string(p.name);
  const std::string placeZh = std::string(p.name) == "finger" ? "指根" : std::string(p.name) + " 点";
  CheckLine line;
  line.what = std::string("fatigue, ") + stroke + " (" + place + "): σO(σu)/σo ≥ 1";
  line.whatZh = std::string("疲劳，") + strokeZh + "（" + placeZh + "）：σO(σu)/σo ≥ 1";
  line.value = "σu " + analysisNumber(p.sigmaU, "0") + ", σo " + analysisNumber(p.sigmaO, "0") + " MPa, S = " +
               analysisNumber(p.safety, "0.00");
  line.limit = "σO " + analysisNumber(p.sigmaOPermissible, "0") + " MPa";
  line.pass = p.safety >= 1;
  return line;
}

}  // namespace

std::span<const PointColumn> pointColumns() { return kColumns; }

std::string analysisNumber(double value, const char* pattern) {
  if (std::isnan(value)) return "—";
  if (std::isinf(value)) return value > 0 ? "∞" : "-∞";
  return format(value, pattern);
}

std::vector<CheckLine> checkLines(const SpringAnalysis& a, const AnalysisParams& p) {
  const StaticChecks& c = a.checks;
  const auto mpa = [](double v) { return analysisNumber(v, "0.0") + " MPa"; };
  std::vector<CheckLine> lines = {
      {"|σOM|max ≤ Rm (0 ... λ1C)", "碟簧中性点最大应力 |σOM| ≤ Rm", mpa(c.sigmaOMmax), mpa(p.Rm), c.omPass},
      {"|σI|max ≤ [σ] (0 ... λ1C)", "内上缘最大应力 |σI| ≤ [σ]", mpa(c.sigmaImax), mpa(p.sigmaAllow), c.iPass},
      {"σf at F2max ≤ [σf]", "最大分离力时指根应力 σf ≤ [σf]", mpa(c.sigmaFingerMax), mpa(p.sigmaAllowF), c.fingerPass},
  };
  lines.push_back(fatigueLine("new lining", "新摩擦片", a.fatigueNew));
  lines.push_back(fatigueLine("worn lining", "磨损后", a.fatigueWorn));
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

std::string stiffnessLine(const SpringAnalysis& analysis) {
  return "分离指刚度 kf = " + analysisNumber(analysis.kf, "0.0") + " N/mm";
}

}  // namespace analysis_sheet

}  // namespace diaspring

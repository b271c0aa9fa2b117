#pragma once
// The production yield of a design: the share of the springs made within
// the tolerance band (the scatter's model: h, l0 = h + H, R, r and E, normal
// deviates with σ = tolerance / 3, the same seeded deviates) that meet every
// requirement a made spring can be checked against. Each spring is
// installed at the nominal λ1B, with λ1A = λ1B − Δλ and λ1C = λ1B + λ1f as
// the window derives them. The requirements, in this order:
//   - the clamp load F1B within its band around F (rule 1, |F − F1B| < 1 N,
//     states the nominal intent and cannot hold for a made spring);
//   - F1A ≥ F1B;
//   - rules 3 … 12 computed for the spring as made (its own h, H, R, r; the
//     load radii R1 = R − 2, r1 = r + 2);
//   - where the strength analysis runs: |σI| ≤ [σ] and |σOM| ≤ Rm over
//     0 … λ1C, σf ≤ [σf] at the larger F2max of the two release strokes.
// The sample count, a Wilson 95 % interval, and a fixed seed: the same
// figures on any number of threads, on the desktop and in the browser.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/spring_analysis.h"
#include "compare/scatter.h"
#include "search/search.h"

namespace diaspring::compare {

// The band F1B must lie in: F·(1 − minus %) … F·(1 + plus %).
struct LoadBand {
  double plusPercent = 0, minusPercent = 0;
  bool fromStandard = false;  // the standard's band for the thickness, not the user's
};
// The disc-spring standard's permissible deviation of the spring force of a
// single disc at the test length l0 − 0.75 h0, by the thickness t (DIN 2093,
// section 7.1 "Tolerances on spring load, single discs"; also DIN EN 16983):
//   t < 1.25 mm: +25 %/−7.5 %;  1.25 … 3 mm: +15 %/−7.5 %;
//   3 … 6 mm: +10 %/−5 %;       6 … 16 mm: ±5 %.
LoadBand standardLoadBand(double t);
LoadBand userLoadBand(double percent);  // ± percent, set by the user
// "+15 %/−7.5 % (DIN 2093, t 1.25 … 3 mm)" or "±5 % (set by the user)".
std::string bandTextEnglish(const LoadBand& band, double t);
std::string bandTextChinese(const LoadBand& band, double t);

inline constexpr int kRequirementCount = 15;
struct RequirementInfo {
  const char* key;      // "clampLoad", "F1A_ge_F1B", "H_h" … (rules by the check's keys)
  const char* english;  // "clamp load F1B within its band"
  const char* chinese;  // "夹紧力 F1B 在公差带内"
};
const RequirementInfo& requirementInfo(int index);  // 0 … kRequirementCount − 1
inline constexpr int kFirstStrengthRequirement = 12;

// A share of n trials with its Wilson score interval at 95 % (z = 1.959964;
// E. B. Wilson, "Probable inference, the law of succession, and statistical
// inference", J. Amer. Statist. Assoc. 22 (1927) 209–212). NaN for n = 0.
struct Share {
  long passed = 0, samples = 0;
  double value = 0, low = 0, high = 0;
};
Share shareOf(long passed, long samples);

struct ProductionYield {
  std::uint64_t seed = 0;
  LoadBand band;
  double bandThickness = 0;  // the nominal h the standard's band was read for
  // The spring and the tolerances the springs were made to, and F.
  search::Geometry nominal{};
  double E = 0, F = 0;
  Tolerances tolerances{};
  bool strengthChecked = false;  // false: the analysis does not run for this design
  Share overall;
  std::array<Share, kRequirementCount> by{};
  std::array<bool, kRequirementCount> checked{};  // the strength requirements only with the analysis
};

// The yield as a table, for every front end: the overall yield first, then
// each requirement checked; a share as "97.32 %" (two decimals), its
// interval as "96.98 … 97.63 %", an undefined one as "—". The captions in
// English or Chinese.
struct YieldRow {
  std::string requirement, share, interval;
  std::string count;  // "9720 / 10000"; "—" without samples
};
std::vector<YieldRow> yieldRows(const ProductionYield& y, bool chinese);
std::string shareText(double share);
// "10000 springs, seed 19, band +15 %/-7.5 % (…)" / "10000 件，种子 19，夹紧力公差带 …"
std::string yieldBasisText(const ProductionYield& y, bool chinese);

// The tolerance band the springs were made to, one row a dimension (h, l0,
// R, r, E) and last the clamp-load band: its nominal value, its ± and its
// source: the standard's table and row when it is the standard's tolerance
// for the nominal spring, else "用户设定" / "set by the user". E has no
// tolerance in the standard: 0 % is marked as that.
struct ToleranceRow {
  std::string symbol, nominal, tolerance, source;
};
std::vector<ToleranceRow> toleranceRows(const ProductionYield& y, bool chinese);

// The fixed texts of the design sheet's production-yield page (the
// desktop's PDF and the page's printable sheet).
namespace yield_sheet {
inline constexpr const char* kTitle = "膜片弹簧生产合格率";
inline constexpr const char* kCannot = "离合器数据或弹簧尺寸不是数，无法计算生产合格率。";
inline constexpr const char* kRequirementsHeading = "一、各项要求的合格率";
inline constexpr const char* kRequirementColumns[] = {"要求", "合格率", "95 % 区间（Wilson）", "合格件数"};
inline constexpr const char* kTolerancesHeading = "二、所用公差带";
inline constexpr const char* kToleranceColumns[] = {"尺寸", "名义值", "公差", "依据"};
inline constexpr const char* kFootnote =
    "每件弹簧装在名义 λ1B 处，λ1A = λ1B − Δλ，λ1C = λ1B + λ1f；各尺寸按正态分布抽样，σ = 公差 / 3，内截锥高度 H = l0 − h，"
    "R1 = R − 2 mm，r1 = r + 2 mm。条件 1（|F − F1B| < 1 N）为名义意图，制造的弹簧以夹紧力公差带代替。";
// "生产合格率 39.63 %（95 % 区间 38.68 … 40.59 %）"
std::string headline(const ProductionYield& y);
}  // namespace yield_sheet

// What one made spring meets: bit k set for requirement k.
std::uint32_t requirementsMet(const SpringParams& made, const DesignCurve& nominal, const LoadBand& band,
                              const AnalysisParams* strength);

// `strength` null: the strength requirements are left out. The analysis
// inputs of a design whose nominal spring the analysis cannot take leave
// them out too. `threads` 0: one per core.
ProductionYield productionYield(const DesignCurve& nominal, const Tolerances& tol, const LoadBand& band,
                                const AnalysisParams* strength, int samples, std::uint64_t seed,
                                unsigned threads = 0);

// The yield with the default tolerances (defaultTolerances), the standard's
// band for the nominal thickness, and the analysis inputs of `inputs` (the
// strength left out when they cannot be read); none when the design has no
// curve.
std::optional<ProductionYield> defaultProductionYield(const DesignInputs& inputs, int samples, std::uint64_t seed,
                                       unsigned threads = 0);

// The same for the spring of a curve run and its analysis inputs (the
// window's analysis and the design sheet); none when the run found no
// working point or its clutch data do not read.
std::optional<ProductionYield> productionYieldOf(const AnalysisInput& input, int samples, std::uint64_t seed,
                                                 unsigned threads = 0);

// A cheap lower estimate of the yield, for screening many designs: each
// requirement's quantity linearised over the five inputs (secants over ±σ),
// its pass probability from the normal distribution, and the union bound
// 1 − Σ(1 − p_k), which the true yield of the linearised spring never falls
// below.
// `parts` keeps the nominal quantities and each input's secants (by its σ)
// for the next estimate of the same design with other tolerances; the band
// and the strength inputs must be the same for all estimates it serves.
double estimatedYield(const DesignCurve& nominal, const Tolerances& tol, const LoadBand& band,
                      const AnalysisParams* strength, search::PointParts* parts = nullptr);

// The automatic design's robustness: only designs whose production yield
// (the default tolerances of each design, the standard's band for its
// thickness, the strength with the base design's analysis inputs) is at
// least `minYield`. Every point the search weighs is screened by
// estimatedYield (a further constraint, "productionYieldEstimate"); the
// designs about to be returned are confirmed by a Monte Carlo of
// kConfirmSamples springs from kDefaultSeed (the final test,
// "productionYield"): the lower end of its Wilson interval must reach
// minYield, so that a design at the edge of the requirement is not let
// through by the chance of its samples. minYield 0 adds nothing: today's
// search. Returns an error in English when the analysis inputs cannot be
// read (options unchanged).
inline constexpr double kDefaultMinYield = 0.99;
inline constexpr int kConfirmSamples = 4000;
inline constexpr const char* kYieldScreen = "production yield (estimated from the sensitivities)";
inline constexpr const char* kYieldScreenZh = "生产合格率（由灵敏度估计）";
// The estimate the screen asks of a point: a little above minYield.
double screenTarget(double minYield);
// Tolerances the yield takes instead of the standard's: h, l0, R and r in
// mm, each NaN for the standard's tolerance of each design.
struct ToleranceChoice {
  double h = NAN, l0 = NAN, R = NAN, r = NAN;
};
Tolerances chosenTolerances(const search::Geometry& g, const ToleranceChoice& choice);
std::string addYieldGoals(search::Options& options, const DesignInputs& base, double minYield,
                          const ToleranceChoice& tolerances = {});

}  // namespace diaspring::compare

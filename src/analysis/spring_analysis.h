#pragma once
// Strength, release characteristic and fatigue of the diaphragm spring of
// the last curve run.
//
// The ring of the spring is a disc spring (see disc_spring.h) with De = 2R,
// Di = 2r, t = h, h0 = H, loaded at R1 and supported at r1: a deflection λ1
// at the load radius turns the section by λ1/(R1 − r1), so the disc spring
// deflects by s = λ1·(R − r)/(R1 − r1). The load F1 is the window's own load
// law (SpringLoad), so the values match the chart.
//
// The fingers are levers about the support ring r1: the release bearing at
// radius rf pushes F2 = F1·(R1 − r1)/(r1 − rf). Each finger is a cantilever
// of length r − rf clamped at the ring, n fingers of root width b:
//   finger-root bending stress σf = 6·(r − rf)·F2/(n·b·h²)
//   finger stiffness at the tip  kf = n·E·b·h³/(4·(r − rf)³)
//     (the tip deflection of n cantilevers, F·L³/(3·E·I) with I = b·h³/12;
//      e.g. Timoshenko & Gere, Mechanics of Materials, table of beam
//      deflections, cantilever with an end load)
// Release travel at the bearing, from the engaged point λ1e of the stroke:
//   λ2 = (λ1 − λ1e)·(r1 − rf)/(R1 − r1) + F2/kf
// The new lining releases from B over λ1B ... λ1C, the worn one from A over
// λ1A ... λ1A + λ1f.

#include <array>
#include <limits>
#include <string>

#include "analysis/disc_spring.h"
#include "form/design_inputs.h"
#include "form/fields.h"
#include "model/spring_design.h"
#include "window/window_logic.h"

namespace diaspring {

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// What the analysis takes from a curve run: the design record and the two
// boxes the curve does not keep (release travel λ1f, bearing radius rf).
struct CurveRun {
  SpringDesign design;
  double lambda1N = 0;  // the valley, mm
  double lambda1f = 0;  // Text11, mm
  double rf = 0;        // Text37, mm
  // The clutch data the check reads at its press (clamp load F, N; disc
  // diameters D, d and r0, mm), for the production yield of the spring.
  double F = kNoValue, D = kNoValue, d = kNoValue, r0 = kNoValue;
};
// Reads Text11, Text37 and the clutch data as the window reads numbers (a
// text beyond the double range reads as not a number).
CurveRun curveRunOf(const WindowLogic& window, const Fields& fields);

inline constexpr const char* kDefaultStrengthBasis = "默认值：60Si2MnA，GB/T 1222";
inline constexpr const char* kDefaultLimitsBasis = "默认值：王望予《汽车设计》60Si2MnA 1500…1700 MPa";

// The inputs of the analysis that belong to no box (see form/extra_inputs.h).
struct AnalysisParams {
  double n = 18;
  double b = 14;
  double Rm = 1570;
  double sigmaAllow = 1700;   // the inner upper edge, σI
  double sigmaAllowF = 1500;  // the finger roots, σf
  double sigmaO0 = 700;
  double fatigueSlope = 0.6;
  // Life in load cycles (see FatigueLines): the release strokes the spring
  // must bear, and the fatigue lines at 10⁵ and 5·10⁵ cycles (NaN: not
  // given); sigmaO0 and fatigueSlope are the line at 2·10⁶.
  double requiredCycles = 2e6;
  double sigmaO0At1e5 = kNoValue, fatigueSlopeAt1e5 = kNoValue;
  double sigmaO0At5e5 = kNoValue, fatigueSlopeAt5e5 = kNoValue;
  // Where the fatigue lines come from: the shipped example, or the user's
  // own (any fatigue line set in the design). Neither is a standard's data,
  // so no fatigue verdict is plain.
  bool userFatigueData = false;
  // Where Rm and the permissible stresses come from, for the checks' 依据:
  // the material table, the derivation rule, 用户数据, or the defaults.
  std::string strengthBasis = kDefaultStrengthBasis;
  std::string limitsBasis = kDefaultLimitsBasis;
  std::string material;  // "60Si2MnA（GB/T 1222）", "X（用户数据）"; "" when none is chosen
};

// The fatigue lines σO(σu) = σO0 + m·σu at N = 10⁵, 5·10⁵ and 2·10⁶ cycles,
// the lives the disc-spring standard's endurance diagrams are drawn for
// (DIN 2093:2006, figures of the permissible stresses of springs subject to
// fatigue loading); between two lines the life is interpolated linearly in
// log N. The library ships no readings of those diagrams: the lines are the
// example line or the user's own.
inline constexpr std::array<double, 3> kFatigueLives{1e5, 5e5, 2e6};
struct FatigueLife {
  enum class Kind {
    AtLeast,    // σo at or below the 2·10⁶ line: "≥ 2·10⁶"
    Estimated,  // between two lines
    Below,      // above the line of the shortest life given: "< cycles"
  };
  Kind kind = Kind::AtLeast;
  double cycles = 2e6;
  // "≥ 2·10⁶", "3.2·10⁵", "< 10⁵" (two significant digits).
  std::string text() const;
  // Whether it covers `required` cycles (a life below the lines never does).
  bool covers(double required) const;
};
FatigueLife fatigueLife(const AnalysisParams& params, double sigmaU, double sigmaO);

// The minimum preload of a spring subject to fatigue loading: the installed
// deflection at least 0.15 ... 0.20·h0 against cracks from the inner upper
// edge (DIN 2093:1992, 11.1 "Minimum initial deflection to avoid cracking":
// the clause's title was read in the standard's contents, its text was not). The makers give the
// same band: the tensile residual stress at I "reverts to compressive when
// the disc spring is deflected by up to approximately 15 % of its total
// deflection" (International Springs, disc spring application notes, d);
// such springs "MUST have an installation or minimum PRELOAD at around 20 %
// of S0" (Reliable Pressings, disc spring stack analysis). The upper end,
// 0.20, is taken.
inline constexpr double kMinimumPreloadRatio = 0.20;
struct ParamsResult {
  AnalysisParams params;
  std::string error;  // empty when every extra reads; else one message in English
};
ParamsResult analysisParams(const DesignInputs& inputs);

// The spring at one deflection λ1 of the load radius.
struct PointState {
  double lambda1 = 0, F1 = 0, s = 0;
  double sigmaOM = 0, sigmaI = 0, sigmaII = 0, sigmaIII = 0, sigmaIV = 0;
  double F2 = 0, sigmaFinger = 0;
  double lambda2 = kNoValue;  // only on a release stroke (B and C: new, A: worn)
};

class SpringModel {
 public:
  SpringModel(const CurveRun& run, const AnalysisParams& params);
  // Why the spring cannot be analysed (empty when it can).
  const std::string& problem() const { return problem_; }

  double load(double lambda1) const;  // F1 by the window's load law; NaN where it faults
  PointState at(double lambda1) const;
  // The largest F1 over lambda1 in [a, b]: at an end or at a stationary
  // point of the cubic load law inside; returns its deflection.
  double argMaxLoad(double a, double b) const;
  double releaseForce(double F1) const { return F1 * leverRatio_; }
  double fingerStress(double F2) const;
  double releaseTravel(double lambda1, double lambda1Engaged) const;
  double fingerStiffness() const { return kf_; }
  double deflection(double lambda1) const { return lambda1 * sPerLambda_; }  // s of the disc spring

  const CurveRun& run() const { return run_; }
  const AnalysisParams& params() const { return params_; }
  const DiscSpring& disc() const { return disc_; }
  const DiscFactors& factors() const { return factors_; }

 private:
  CurveRun run_;
  AnalysisParams params_;
  DiscSpring disc_;
  DiscFactors factors_;
  double sPerLambda_ = 0, leverRatio_ = 0, kf_ = 0;
  std::string problem_;
};

struct ReleaseStroke {
  double lambda1Start = 0, lambda1End = 0;  // engaged, released
  double F2max = 0;
  double lambda1AtF2max = 0;
  double lambda2End = 0;  // release travel at the end of the stroke
};

// One place of a stroke's fatigue check: the lower and upper stress over
// the stroke, the permissible upper stress σO(σu) of the fatigue line and
// the safety σO/σo (infinite when the upper stress is not tensile).
struct FatiguePlace {
  const char* name;  // "II", "III", "finger"
  double sigmaU = 0, sigmaO = 0, sigmaOPermissible = 0, safety = 0;
  FatigueLife life;  // by the lines at the three lives
};
struct StrokeFatigue {
  std::array<FatiguePlace, 3> places{{{"II", 0, 0, 0, 0, {}}, {"III", 0, 0, 0, 0, {}}, {"finger", 0, 0, 0, 0, {}}}};
  int governing = 0;  // the place with the least safety
  int shortestLife = 0;  // the place with the shortest life
  const FatiguePlace& shortestLifePlace() const { return places[static_cast<std::size_t>(shortestLife)]; }
  const FatiguePlace& governingPlace() const { return places[static_cast<std::size_t>(governing)]; }
};

struct StaticChecks {
  double sigmaOMmax = 0;      // largest |σOM| over 0 ... λ1C, against Rm
  double sigmaImax = 0;       // largest |σI| over 0 ... λ1C, against sigmaAllow
  double sigmaFingerMax = 0;  // σf at the larger F2max of the two strokes, against sigmaAllowF
  bool omPass = false, iPass = false, fingerPass = false;
  // The smaller installed deflection s of the new (B) and the worn (A)
  // point against kMinimumPreloadRatio·h0.
  double installedS = 0, minimumS = 0;
  bool preloadPass = false;
};

struct SpringAnalysis {
  std::string error;                  // empty when the analysis ran
  std::array<PointState, 6> points;   // M, N, H, B, A, C
  ReleaseStroke newStroke, wornStroke;
  StrokeFatigue fatigueNew, fatigueWorn;
  StaticChecks checks;
  double kf = 0;  // finger stiffness at the bearing, N/mm
};

inline constexpr std::array<const char*, 6> kPointSymbols{"M", "N", "H", "B", "A", "C"};

SpringAnalysis analyseSpring(const CurveRun& run, const AnalysisParams& params);

// The static checks of a spring that has no problem, as analyseSpring makes
// them: over 0 ... λ1C, and σf at the larger F2max of the two strokes (found
// here, or given).
StaticChecks staticChecksOf(const SpringModel& model);
StaticChecks staticChecksOf(const SpringModel& model, double F2maxNew, double F2maxWorn);

// What an analysis is made from: a curve run and the analysis inputs. The
// design sheet and the window carry this and analyse when they draw.
struct AnalysisInput {
  CurveRun run;
  AnalysisParams params;
};

// The largest and smallest value of a stress over s in [sa, sb]; each stress
// of the disc spring is a quadratic in s through the origin, so the extremes
// lie at the ends or at its vertex.
struct Extremes {
  double min = 0, max = 0;
};
using StressOf = double DiscState::*;
Extremes stressExtremes(const DiscSpring& spring, const DiscFactors& factors, StressOf stress, double sa, double sb);

// The largest |σI| of a spring that has no problem, taken exactly (at an
// end or at the vertex of its quadratic in s):
//   over 0 ... λ1C, as the static check weighs it against sigmaAllow;
double staticSigmaImax(const SpringModel& model);
//   over the release strokes, new λ1B ... λ1C and worn λ1A ... λ1A + λ1f.
double releaseSigmaImax(const SpringModel& model);

}  // namespace diaspring

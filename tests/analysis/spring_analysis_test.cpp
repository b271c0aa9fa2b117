// The analysis of the default design against an independent evaluation:
// every quantity recomputed here in long double straight from the window's
// inputs (R = 84.7, R/r = 1.33 → r = 63.68, h = 2.2, H/h = 1.9, E = 210000,
// μ = 0.3, rf = 20, wear 1.6, release 1.6) with the formulas written out
// once more, and a few values worked by hand.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "form/fields.h"
#include "runtime/convert.h"
#include "window/window_logic.h"

namespace diaspring {
namespace {

using LD = long double;

struct CurveWindow {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window{fields, chart};
  explicit CurveWindow(std::initializer_list<std::pair<TextBox, const char*>> texts = {}) {
    for (const auto& [box, text] : texts) fields.setText(box, text);
    window.command1Click();
  }
  CurveRun curve() const { return curveRunOf(window, fields); }
};

// The default design's geometry as the window captures it.
constexpr LD R = 84.7L, r = 63.68L, R1 = 82.7L, r1 = 65.68L, h = 2.2L, H = 2.2L * 1.9L, E = 210000, mu = 0.3L;
constexpr LD rf = 20, n = 18, b = 14;

LD loadLaw(LD l) {
  const LD a = (R - r) / (R1 - r1);
  const LD ln = std::log(R / r) / std::log(2.718282L);
  return 3.141592502593994140625L * E * h * l / (6 * (1 - mu * mu)) * ln / ((R1 - r1) * (R1 - r1)) *
         ((H - l * a) * (H - 0.5L * l * a) + h * h);
}

struct Stresses {
  LD om, i, ii, iii, iv;
};
Stresses discStresses(LD s) {
  const LD pi = 3.141592653589793238462643383279503L;
  const LD d = R / r, ln = std::log(d);
  const LD K1 = (1 / pi) * ((d - 1) / d) * ((d - 1) / d) / ((d + 1) / (d - 1) - 2 / ln);
  const LD K2 = (6 / pi) * ((d - 1) / ln - 1) / ln;
  const LD K3 = (3 / pi) * (d - 1) / ln;
  const LD A = 4 * E / (1 - mu * mu) * h * h / (K1 * 4 * R * R) * (s / h);
  const LD Z = H / h - s / (2 * h);
  return {-A * 3 / pi, -A * (K2 * Z + K3), -A * (K2 * Z - K3), -(A / d) * ((K2 - 2 * K3) * Z - K3),
          -(A / d) * ((K2 - 2 * K3) * Z + K3)};
}

void expectClose(double actual, LD expected, const char* what, const char* point) {
  EXPECT_NEAR(actual, static_cast<double>(expected), 1e-9 * std::fabs(static_cast<double>(expected)) + 1e-9)
      << what << " at " << point;
}

TEST(SpringAnalysis, PointsOfTheDefaultDesignMatchAnIndependentEvaluation) {
  CurveWindow run;
  const SpringAnalysis a = analyseSpring(run.curve(), AnalysisParams{});
  ASSERT_EQ(a.error, "");
  const LD lever = (R1 - r1) / (r1 - rf);
  const LD kf = n * E * b * h * h * h / (4 * (r - rf) * (r - rf) * (r - rf));
  expectClose(a.kf, kf, "kf", "-");
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    const PointState& p = a.points[i];
    const char* name = kPointSymbols[i];
    const LD s = p.lambda1 * (R - r) / (R1 - r1);
    const Stresses st = discStresses(s);
    expectClose(p.F1, loadLaw(p.lambda1), "F1", name);
    expectClose(p.s, s, "s", name);
    expectClose(p.sigmaOM, st.om, "sigmaOM", name);
    expectClose(p.sigmaI, st.i, "sigmaI", name);
    expectClose(p.sigmaII, st.ii, "sigmaII", name);
    expectClose(p.sigmaIII, st.iii, "sigmaIII", name);
    expectClose(p.sigmaIV, st.iv, "sigmaIV", name);
    expectClose(p.F2, loadLaw(p.lambda1) * lever, "F2", name);
    expectClose(p.sigmaFinger, 6 * (r - rf) * loadLaw(p.lambda1) * lever / (n * b * h * h), "sigmaFinger", name);
  }
  // F1 is the window's own load: the point boxes show it rounded.
  EXPECT_EQ(format(a.points[3].F1, "0.000"), run.fields.text(TextBox::Text18));
  EXPECT_EQ(format(a.points[4].F1, "0.000"), run.fields.text(TextBox::Text20));
  EXPECT_EQ(format(a.points[5].F1, "0.00"), run.fields.text(TextBox::Text22));

  // Release travels: none before B; at C the lever share of 1.6 mm plus the
  // fingers' give; A starts the worn stroke.
  EXPECT_TRUE(std::isnan(a.points[0].lambda2));
  const LD lB = a.points[3].lambda1, lC = a.points[5].lambda1;
  expectClose(a.points[3].lambda2, loadLaw(lB) * lever / kf, "lambda2", "B");
  expectClose(a.points[5].lambda2, (lC - lB) / lever + loadLaw(lC) * lever / kf, "lambda2", "C");
  expectClose(a.newStroke.lambda2End, (lC - lB) / lever + loadLaw(lC) * lever / kf, "lambda2End", "new");
}

// Worked by hand for the default design: δ = 169.4/127.36 = 1.33009,
// K1 = 0.41292, K2 = 1.05259, K3 = 1.10505; at C (λ1C = 0.91·λ1H + 1.6 =
// 4.67996 with λ1H = 3.38457) s = 4.67996·21.02/17.02 = 5.77983 mm,
// A = 4·210000/0.91·2.2²/(0.41292·169.4²)·(5.77983/2.2) = 990.56 MPa,
// Z = 1.9 − 5.77983/4.4 = 0.58640:
//   σOM = −990.56·3/π = −945.9;  σI = −990.56·(1.05259·0.5864 + 1.10505) = −1706.0;
//   σIII = −(990.56/1.33009)·((1.05259 − 2.2101)·0.5864 − 1.10505) = 1328.5 MPa.
TEST(SpringAnalysis, DefaultDesignAtTheReleasePointWorkedByHand) {
  CurveWindow run;
  const SpringAnalysis a = analyseSpring(run.curve(), AnalysisParams{});
  const PointState& C = a.points[5];
  EXPECT_NEAR(C.s, 5.7798, 1e-3);
  EXPECT_NEAR(C.sigmaOM, -945.9, 0.1);
  EXPECT_NEAR(C.sigmaI, -1706.0, 0.1);
  EXPECT_NEAR(C.sigmaIII, 1328.5, 0.1);
  // |σOM| and |σI| grow over 0 ... λ1C here, so their largest values are C's.
  EXPECT_DOUBLE_EQ(a.checks.sigmaOMmax, std::fabs(C.sigmaOM));
  EXPECT_DOUBLE_EQ(a.checks.sigmaImax, std::fabs(C.sigmaI));
  EXPECT_TRUE(a.checks.omPass);    // 946 ≤ Rm = 1570
  EXPECT_FALSE(a.checks.iPass);    // 1706 > [σ] = 1700
}

// The default design's peak M (λ1M = 2.0796) lies inside the worn stroke
// λ1A ... λ1A + λ1f = 1.4800 ... 3.0800: the largest release force there is
// that at the stationary point of the load law, which no end reaches; the
// new stroke B ... C falls all the way, so its largest force is at B.
TEST(SpringAnalysis, StrokeMaximaAtAStationaryPointInsideAndAtAnEnd) {
  CurveWindow run;
  const CurveRun curve = run.curve();
  const SpringAnalysis a = analyseSpring(curve, AnalysisParams{});
  const LD lever = (R1 - r1) / (r1 - rf);
  // dF1/dλ = 0: 1.5a²λ² − 3aHλ + (H² + h²) = 0, the smaller root.
  const LD k = (R - r) / (R1 - r1);
  const LD peak = (3 * k * H - std::sqrt(9 * k * k * H * H - 6 * k * k * (H * H + h * h))) / (3 * k * k);
  EXPECT_NEAR(a.wornStroke.lambda1AtF2max, static_cast<double>(peak), 1e-9);
  expectClose(a.wornStroke.F2max, loadLaw(peak) * lever, "F2max", "worn");
  EXPECT_GT(a.wornStroke.F2max, a.points[4].F2);  // above A
  EXPECT_GT(a.wornStroke.F2max, a.points[3].F2);  // above the stroke's end (B)
  // No sample of a fine scan of the stroke lies above it.
  const SpringModel model(curve, AnalysisParams{});
  for (int i = 0; i <= 2000; ++i) {
    const double l = a.wornStroke.lambda1Start + 1.6 * i / 2000;
    EXPECT_LE(model.releaseForce(model.load(l)), a.wornStroke.F2max * (1 + 1e-15));
  }
  EXPECT_DOUBLE_EQ(a.newStroke.lambda1AtF2max, a.points[3].lambda1);
  EXPECT_DOUBLE_EQ(a.newStroke.F2max, a.points[3].F2);
  // The finger check takes the larger of the two.
  EXPECT_DOUBLE_EQ(a.checks.sigmaFingerMax, model.fingerStress(a.wornStroke.F2max));
}

TEST(SpringAnalysis, FatigueTakesTheLeastSafePlace) {
  CurveWindow run;
  AnalysisParams p;
  const SpringAnalysis a = analyseSpring(run.curve(), p);
  for (const StrokeFatigue* f : {&a.fatigueNew, &a.fatigueWorn}) {
    for (const FatiguePlace& place : f->places) {
      EXPECT_LE(place.sigmaU, place.sigmaO) << place.name;
      EXPECT_DOUBLE_EQ(place.sigmaOPermissible, p.sigmaO0 + p.fatigueSlope * place.sigmaU) << place.name;
      EXPECT_GE(place.safety, f->governingPlace().safety) << place.name;
    }
  }
  // New stroke: σIII rises from B's 1129 MPa to C's 1328.5 MPa (see the hand
  // calculation above), so σu and σo are B's and C's values.
  const FatiguePlace& iii = a.fatigueNew.places[1];
  EXPECT_DOUBLE_EQ(iii.sigmaU, a.points[3].sigmaIII);
  EXPECT_DOUBLE_EQ(iii.sigmaO, a.points[5].sigmaIII);
  EXPECT_NEAR(iii.sigmaU, 1129.1, 0.1);
  EXPECT_NEAR(iii.sigmaO, 1328.5, 0.1);
  EXPECT_DOUBLE_EQ(iii.safety, (700 + 0.6 * iii.sigmaU) / iii.sigmaO);
  // The finger root is unloaded while engaged; its upper stress is that at
  // the stroke's largest release force.
  EXPECT_EQ(a.fatigueWorn.places[2].sigmaU, 0);
  EXPECT_DOUBLE_EQ(a.fatigueWorn.places[2].sigmaO, a.checks.sigmaFingerMax);
  EXPECT_STREQ(a.fatigueNew.governingPlace().name, "III");
}

TEST(SpringAnalysis, ChecksFollowTheLimits) {
  CurveWindow run;
  struct Case {
    double Rm, sigmaAllow, sigmaAllowF;
    bool om, i, finger;
  };
  // |σOM|max = 946, |σI|max = 1706, σf max = 414 MPa: each limit governs
  // its own check only.
  const Case cases[] = {
      {1570, 1700, 1500, true, false, true},
      {900, 1800, 1500, false, true, true},
      {2000, 200, 1500, true, false, true},
      {2000, 1800, 400, true, true, false},
  };
  for (const Case& c : cases) {
    AnalysisParams p;
    p.Rm = c.Rm;
    p.sigmaAllow = c.sigmaAllow;
    p.sigmaAllowF = c.sigmaAllowF;
    const StaticChecks checks = analyseSpring(run.curve(), p).checks;
    EXPECT_EQ(checks.omPass, c.om) << c.Rm;
    EXPECT_EQ(checks.iPass, c.i) << c.sigmaAllow;
    EXPECT_EQ(checks.fingerPass, c.finger) << c.sigmaAllowF;
  }
}

TEST(SpringAnalysis, RefusesWhatCannotBeAnalysed) {
  struct Case {
    const char* rf;
    const char* message;
  };
  const Case cases[] = {
      {"70", "the bearing radius rf must lie inside the inner radius r"},
      {"1E999", "the curve run left a value that is not a number"},
  };
  for (const Case& c : cases) {
    CurveWindow run({{TextBox::Text37, c.rf}});
    EXPECT_EQ(analyseSpring(run.curve(), AnalysisParams{}).error, c.message) << c.rf;
  }
  // Before any curve run there is no working point.
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  EXPECT_NE(analyseSpring(curveRunOf(window, fields), AnalysisParams{}).error, "");
}

}  // namespace
}  // namespace diaspring

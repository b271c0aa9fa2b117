#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "compare/production_yield.h"
#include "form/fields.h"
#include "runtime/convert.h"
#include "support/inputs_with.h"
#include "window/window_logic.h"

namespace diaspring::compare {
namespace {

using diaspring::testing::inputsWith;

// The verdicts of the window itself on the nominal design: rules 2 ... 12
// of its check and the three static checks of its strength analysis.
std::vector<bool> windowVerdicts(const DesignInputs& in, double F, const LoadBand& band) {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  in.typeInto(fields);
  EXPECT_FALSE(window.press(Command::Command1));
  RuleResults rules{};
  window.command3Click(&rules);
  const SpringAnalysis a = analyseSpring(curveRunOf(window, fields), analysisParams(in).params);
  EXPECT_TRUE(a.error.empty()) << a.error;
  const double F1B = window.design().lambda1B.isSet() ? val(fields.text(TextBox::Text18)).value() : NAN;
  std::vector<bool> v{std::fabs(F1B - F) <= F * band.plusPercent / 100 + 0.001};
  for (int k = 1; k < kRuleCount; ++k) v.push_back(rules[static_cast<std::size_t>(k)].passed);
  v.push_back(a.checks.iPass);
  v.push_back(a.checks.fingerPass);
  v.push_back(a.checks.omPass);
  return v;
}

TEST(ProductionYield, WilsonIntervalMatchesPublishedValues) {
  // Newcombe, "Two-sided confidence intervals for the single proportion",
  // Statistics in Medicine 17 (1998) 857-872, table II, method 3.
  struct Case {
    long k, n;
    double low, high;
  };
  for (const Case& c : {Case{81, 263, 0.2553, 0.3662}, Case{15, 148, 0.0624, 0.1605}, Case{0, 20, 0.0, 0.1611},
                        Case{1, 29, 0.0061, 0.1718}}) {
    const Share s = shareOf(c.k, c.n);
    EXPECT_NEAR(s.low, c.low, 5e-5) << c.k << "/" << c.n;
    EXPECT_NEAR(s.high, c.high, 5e-5) << c.k << "/" << c.n;
  }
  EXPECT_TRUE(std::isnan(shareOf(0, 0).value));  // a share of no springs is undefined, not 0 %
}

TEST(ProductionYield, LoadBandOfTheStandardByThickness) {
  struct Case {
    double t, plus, minus;
  };
  for (const Case& c : {Case{1.0, 25, 7.5}, Case{1.25, 15, 7.5}, Case{2.2, 15, 7.5}, Case{3.0, 15, 7.5},
                        Case{4.0, 10, 5}, Case{8.0, 5, 5}}) {
    const LoadBand b = standardLoadBand(c.t);
    EXPECT_EQ(b.plusPercent, c.plus) << c.t;
    EXPECT_EQ(b.minusPercent, c.minus) << c.t;
    EXPECT_TRUE(b.fromStandard);
  }
  EXPECT_EQ(bandTextEnglish(standardLoadBand(2.2), 2.2), "+15 %/-7.5 % (DIN 2093 load tolerance, t 1.25 … 3 mm)");
  EXPECT_EQ(bandTextEnglish(userLoadBand(5), 2.2), "+/-5 % (set by the user)");
}

// Without scatter every spring is the nominal one: each requirement is met
// exactly when the window's own check and analysis pass the design, so a
// requirement left out, inverted or read from the wrong quantity shows.
TEST(ProductionYield, WithoutScatterEachRequirementIsTheWindowsVerdict) {
  const std::vector<DesignInputs> designs = {
      inputsWith({}),
      inputsWith({{"HoverH", "2.3"}}),
      inputsWith({{"HoverH", "1.55"}, {"h", "2.4"}}),
      inputsWith({{"RoverR", "1.37"}}),
      inputsWith({{"h", "2.6"}, {"F", "6500"}}),
      inputsWith({{"r0", "28"}, {"rf", "38"}}),
      inputsWith({{"D", "160"}}),
      inputsWith({{"dLambda", "3.2"}}),
      inputsWith({{"sigmaAllow", "1000"}, {"b", "2"}, {"Rm", "600"}}),
      inputsWith({{"RoverR", "1.2"}}),
      inputsWith({{"F", "4000"}}),
  };
  std::vector<int> failedSomewhere(kRequirementCount, 0);
  for (const DesignInputs& in : designs) {
    const DesignCurve curve = designCurve(in, "");
    ASSERT_TRUE(curve.ok()) << curve.error;
    const AnalysisParams params = analysisParams(in).params;
    const LoadBand band = userLoadBand(5);
    const ProductionYield y = productionYield(curve, Tolerances{}, band, &params, 40, 3, 1);
    const std::vector<bool> expected = windowVerdicts(in, curve.clutch.F, band);
    ASSERT_TRUE(y.strengthChecked);
    bool all = true;
    for (int k = 0; k < kRequirementCount; ++k) {
      const auto i = static_cast<std::size_t>(k);
      EXPECT_EQ(y.by[i].value, expected[i] ? 1.0 : 0.0) << requirementInfo(k).key << " of design " << &in - &designs[0];
      failedSomewhere[i] += !expected[i];
      all = all && expected[i];
    }
    EXPECT_EQ(y.overall.value, all ? 1.0 : 0.0);
  }
  // The table fails every requirement that a made spring can fail (R − R1
  // and r1 − r are 2 mm for every spring).
  for (int k = 0; k < kRequirementCount; ++k)
    if (k != 8 && k != 9) {
      EXPECT_GT(failedSomewhere[static_cast<std::size_t>(k)], 0) << requirementInfo(k).key;
    }
}

// One input scattering across a rule's bound: the share of springs that
// meet it is the normal probability of that input's side of the bound.
TEST(ProductionYield, ShareAtABoundIsTheNormalProbabilityOfItsSide) {
  const DesignInputs in = inputsWith({{"R", "89.9"}, {"RoverR", "1.35"}, {"h", "2.35"}});
  const DesignCurve curve = designCurve(in, "");
  ASSERT_TRUE(curve.ok()) << curve.error;
  Tolerances onlyR;
  onlyR.R = 0.1;
  const int n = 20000;
  const ProductionYield y = productionYield(curve, onlyR, userLoadBand(50), nullptr, n, 11, 2);
  // R/r ≤ 1.35 with r = 66.59 fixed: R ≤ 89.8965, R normal with σ = 0.1/3.
  const double z = (1.35 * curve.g.r - curve.g.R) / (0.1 / 3);
  const double expected = 0.5 * std::erfc(-z / std::sqrt(2.0));
  const Share& s = y.by[4];
  EXPECT_NEAR(s.value, expected, 4 * std::sqrt(expected * (1 - expected) / n));
  EXPECT_LE(s.low, s.value);
  EXPECT_GE(s.high, s.value);
  EXPECT_LE(y.overall.value, s.value);
  EXPECT_FALSE(y.strengthChecked);
  EXPECT_TRUE(std::isnan(y.by[kFirstStrengthRequirement].value));
  // The screen's estimate sees the same bound.
  EXPECT_NEAR(estimatedYield(curve, onlyR, userLoadBand(50), nullptr), y.overall.value, 0.02);
}

TEST(ProductionYield, SameFiguresOnAnyThreadCountAndAConservativeEstimate) {
  for (const DesignInputs& in : {inputsWith({}), inputsWith({{"h", "2.3537"}, {"HoverH", "1.7725"}, {"R", "90"},
                                                             {"RoverR", "1.35"}})}) {
    const DesignCurve curve = designCurve(in, "");
    ASSERT_TRUE(curve.ok());
    const Tolerances tol = defaultTolerances(curve.g);
    const AnalysisParams params = analysisParams(in).params;
    const LoadBand band = standardLoadBand(curve.g.h);
    const ProductionYield one = productionYield(curve, tol, band, &params, 3000, 19, 1);
    const ProductionYield two = productionYield(curve, tol, band, &params, 3000, 19, 2);
    EXPECT_EQ(one.overall.passed, two.overall.passed);
    for (std::size_t k = 0; k < one.by.size(); ++k) EXPECT_EQ(one.by[k].passed, two.by[k].passed);
    EXPECT_LE(estimatedYield(curve, tol, band, &params), one.overall.high);
  }
}

}  // namespace
}  // namespace diaspring::compare

namespace diaspring::compare {
namespace {

// The tolerance band the sheet prints: each tolerance the standard's for
// the nominal spring names its table's row, any other is the user's; a
// chosen tolerance is the one the yield's springs are made to.
TEST(ProductionYield, ToleranceRowsNameTheStandardsRowOrTheUser) {
  const DesignCurve curve = designCurve(inputsWith({}), "");  // h 2.2 mm, 2R 169.4 mm
  ASSERT_TRUE(curve.ok());
  ToleranceChoice narrowH;
  narrowH.h = 0.05;
  const struct {
    Tolerances tol;
    LoadBand band;
    const char* hTolerance;
    const char* hSource;  // a part of it
    const char* bandSource;
  } cases[] = {
      // DIN 2093 t 1.25 ... 3.8 mm: +0.04/-0.12, half its width 0.08.
      {defaultTolerances(curve.g), standardLoadBand(2.2), "±0.08 mm", "+0.04/−0.12 mm（t 1.25 … 3.8 mm）",
       "DIN 2093 载荷公差，t 1.25 … 3 mm"},
      {chosenTolerances(curve.g, narrowH), userLoadBand(5), "±0.05 mm", "用户设定", "用户设定"},
  };
  for (const auto& c : cases) {
    const ProductionYield y = productionYield(curve, c.tol, c.band, nullptr, 200, 5, 1);
    const std::vector<ToleranceRow> rows = toleranceRows(y, true);
    ASSERT_EQ(rows.size(), 6U);
    EXPECT_EQ(rows[0].symbol, "h");
    EXPECT_EQ(rows[0].tolerance, c.hTolerance);
    EXPECT_NE(rows[0].source.find(c.hSource), std::string::npos) << rows[0].source;
    // H, R and r stay the standard's (IT12 for De 169.4 mm: 0.40 mm, a quarter on the radius).
    EXPECT_EQ(rows[2].tolerance, "±0.1 mm");
    EXPECT_NE(rows[2].source.find("IT12 = 0.4 mm"), std::string::npos) << rows[2].source;
    EXPECT_EQ(rows.back().source, c.bandSource);
    // The narrower thickness band passes more springs of the clamp-load band.
    EXPECT_EQ(y.tolerances.h, c.tol.h);
  }
  const ProductionYield standard = productionYield(curve, defaultTolerances(curve.g), userLoadBand(5), nullptr, 2000, 5, 1);
  const ProductionYield narrow =
      productionYield(curve, chosenTolerances(curve.g, narrowH), userLoadBand(5), nullptr, 2000, 5, 1);
  EXPECT_GT(narrow.by[0].value, standard.by[0].value);
}

}  // namespace
}  // namespace diaspring::compare

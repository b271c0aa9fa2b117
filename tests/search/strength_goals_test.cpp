#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/spring_analysis.h"
#include "form/extra_inputs.h"
#include "search/strength_goals.h"
#include "support/search_corner.h"
#include "support/window_fixture.h"

namespace diaspring::search {
namespace {

using diaspring::testing::TestWindow;

// The corner of the design space the other search tests use.
Options narrowedWithStrength(const DesignInputs& base) {
  Options o = diaspring::testing::narrowed();
  EXPECT_EQ(addStrengthGoals(o, base), "");
  return o;
}

DesignInputs withSigmaAllow(const char* text) {
  DesignInputs base;
  base.setExtra("sigmaAllow", text);
  return base;
}

// The analysis of the window's own run of a design, as the analysis window
// shows it.
struct WindowAnalysis {
  CurveRun run;
  SpringAnalysis analysis;
};
WindowAnalysis analyseInWindow(const DesignInputs& inputs) {
  TestWindow w;
  inputs.typeInto(w.fields);
  EXPECT_FALSE(w.curve());
  WindowAnalysis a;
  a.run = curveRunOf(w.logic, w.fields);
  a.analysis = analyseSpring(a.run, analysisParams(inputs).params);
  EXPECT_EQ(a.analysis.error, "");
  return a;
}

// |σI| sampled finely over the release strokes of the window's run.
double sampledReleaseSigmaI(const WindowAnalysis& a) {
  const SpringModel model(a.run, analysisParams(DesignInputs()).params);
  const SpringDesign& d = a.run.design;
  const double strokes[2][2] = {{d.lambda1B.value(), d.lambda1C.value()},
                                {d.lambda1A.value(), d.lambda1A.value() + a.run.lambda1f}};
  double largest = 0;
  for (const auto& stroke : strokes)
    for (int i = 0; i <= 2000; ++i) {
      const double lambda = stroke[0] + (stroke[1] - stroke[0]) * i / 2000;
      largest = std::max(largest, std::fabs(model.at(lambda).sigmaI));
    }
  return largest;
}

bool dominates(const std::vector<double>& a, const std::vector<double>& b) {
  bool better = false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] > b[i]) return false;
    better = better || a[i] < b[i];
  }
  return better;
}

// With the stress as a third objective and its static check as a
// constraint: every design passes the check of the analysis of its window
// run, its sigmaImax is the largest |σI| over the release strokes, the set
// is Pareto in all three objectives.
TEST(StrengthGoals, DesignsPassTheStaticCheckOfSigmaI) {
  struct Case {
    const char* sigmaAllow;
    std::size_t atLeast;
  };
  const Case cases[] = {{"1750", 1}, {"2000", 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sigmaAllow);
    const DesignInputs base = withSigmaAllow(c.sigmaAllow);
    const Result result = runSearch(base, narrowedWithStrength(base));
    ASSERT_GE(result.designs.size(), c.atLeast);
    EXPECT_EQ(result.rejectedByWindow, 0u);
    const double allow = std::stod(c.sigmaAllow);
    std::vector<std::vector<double>> objectives;
    for (const Design& d : result.designs) {
      ASSERT_EQ(d.extra.size(), 1u);
      const WindowAnalysis a = analyseInWindow(d.inputs);
      EXPECT_TRUE(a.analysis.checks.iPass) << a.analysis.checks.sigmaImax;
      EXPECT_LE(a.analysis.checks.sigmaImax, allow);
      const double sampled = sampledReleaseSigmaI(a);
      EXPECT_GE(d.extra[0], sampled * (1 - 1e-12));
      EXPECT_LE(d.extra[0], sampled * (1 + 1e-6));
      EXPECT_LE(d.extra[0], a.analysis.checks.sigmaImax * (1 + 1e-12));
      objectives.push_back({d.wearRise, d.releaseForceMax, d.extra[0]});
    }
    for (const auto& a : objectives)
      for (const auto& b : objectives) EXPECT_FALSE(dominates(a, b));
  }
}

// A permissible stress no design can meet: the explanation names the check
// and the nearest design misses it by its own excess, in MPa.
TEST(StrengthGoals, ImpossibleStressIsExplained) {
  const DesignInputs base = withSigmaAllow("300");
  const Options o = narrowedWithStrength(base);
  const Result result = runSearch(base, o);
  EXPECT_TRUE(result.designs.empty());
  ASSERT_TRUE(result.infeasible);
  EXPECT_EQ(result.infeasible->constraintsNeverMet, std::vector<std::string>{kSigmaIConstraint});
  ASSERT_TRUE(result.infeasible->nearest);
  ASSERT_EQ(result.infeasible->misses.size(), 1u);
  const Miss& miss = result.infeasible->misses[0];
  EXPECT_EQ(miss.rule, kRuleCount);
  const WindowAnalysis a = analyseInWindow(*result.infeasible->nearest);
  EXPECT_NEAR(miss.outcome.miss, a.analysis.checks.sigmaImax - 300, 1e-9);
  const std::string text = explainEnglish(*result.infeasible, o);
  EXPECT_NE(text.find("and the further constraints"), std::string::npos) << text;
  EXPECT_NE(text.find(std::string(kSigmaIConstraint) + ": misses by"), std::string::npos) << text;
  EXPECT_NE(explainChinese(*result.infeasible, o).find(kSigmaIConstraint), std::string::npos);
}

// Giving h its text only near the front of all three objectives (and only
// where the static check is nearly met) loses no member of the front: the
// result is the same as when every feasible point is given its text, and
// the same on one thread as on two.
TEST(StrengthGoals, PruningKeepsTheWholeFront) {
  for (const char* allow : {"1700", "1900"}) {
    SCOPED_TRACE(allow);
    const DesignInputs base = withSigmaAllow(allow);
    Options pruned = narrowedWithStrength(base);
    Options every = pruned;
    every.prune = false;
    Options oneThread = pruned;
    oneThread.threads = 1;
    const Result a = runSearch(base, pruned), b = runSearch(base, every), c = runSearch(base, oneThread);
    ASSERT_FALSE(a.designs.empty());
    EXPECT_LT(a.finished, b.finished);
    ASSERT_EQ(a.designs.size(), b.designs.size());
    for (std::size_t i = 0; i < a.designs.size(); ++i) {
      EXPECT_EQ(a.designs[i].inputs, b.designs[i].inputs);
      EXPECT_EQ(a.designs[i].extra, b.designs[i].extra);
    }
    // The same on one thread as on two.
    ASSERT_EQ(c.designs.size(), a.designs.size());
    for (std::size_t i = 0; i < a.designs.size(); ++i) {
      EXPECT_EQ(c.designs[i].inputs, a.designs[i].inputs);
      EXPECT_EQ(c.designs[i].extra, a.designs[i].extra);
    }
    EXPECT_EQ(c.finished, a.finished);
  }
}

// The analysis inputs' defaults ([σ] = 1700 MPa for the inner edge) leave
// the default clutch a front of springs, every one within [σ].
TEST(StrengthGoals, DefaultDataGiveAFront) {
  const DesignInputs base;
  Options o;
  o.threads = 2;
  ASSERT_EQ(addStrengthGoals(o, base), "");
  const Result result = runSearch(base, o);
  EXPECT_GE(result.designs.size(), 20u);
  EXPECT_EQ(result.rejectedByWindow, 0u);
  for (const Design& d : result.designs) EXPECT_LE(d.extra[0], 1700);
}

TEST(StrengthGoals, UnreadableAnalysisInputsAreRefused) {
  const std::pair<const char*, const char*> cases[] = {{"sigmaAllow", "abc"}, {"b", "1E999"}};
  for (const auto& [name, text] : cases) {
    DesignInputs base;
    base.setExtra(name, text);
    Options o;
    EXPECT_NE(addStrengthGoals(o, base).find(name), std::string::npos) << name;
    EXPECT_TRUE(o.extraObjectives.empty());
    EXPECT_TRUE(o.constraints.empty());
  }
}

}  // namespace
}  // namespace diaspring::search

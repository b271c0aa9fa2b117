#include <gtest/gtest.h>

#include <cmath>

#include "runtime/convert.h"
#include "search/candidate.h"
#include "support/window_fixture.h"

namespace diaspring::search {
namespace {

using diaspring::testing::TestWindow;

struct Texts {
  const char* h;
  const char* HoverH;
  const char* R;
  const char* RoverR;
};

// Designs around the default one, across the sliders' ranges, with some
// that fail rules (too thin, too flat, too wide).
constexpr Texts kDesigns[] = {
    {"2.2", "1.9", "84.7", "1.33"}, {"2.21", "1.9", "84.7", "1.33"}, {"2.05", "1.62", "80.3", "1.21"},
    {"3.1", "2", "120", "1.35"},    {"2.6", "1.75", "88.8", "1.27"}, {"1.2", "1.5", "76", "1.2"},
    {"4", "1.8", "135", "1.3"},     {"2.3456", "1.66", "90", "1.25"},
};

ClutchData defaultClutch() {
  return {210000, 0.3, 4593, 180, 125, 18, 20, 1.6, 1.6};
}

// The law agrees to the bit with the window's SpringLoad, and the points
// and the rules with what the window shows after curve and check.
TEST(Candidate, AgreesWithTheWindow) {
  for (const Texts& t : kDesigns) {
    SCOPED_TRACE(std::string(t.h) + " " + t.HoverH + " " + t.R + " " + t.RoverR);
    TestWindow w;
    w.type(TextBox::Text4, t.h);
    w.type(TextBox::Text6, t.HoverH);
    w.type(TextBox::Text7, t.R);
    w.type(TextBox::Text9, t.RoverR);
    ASSERT_FALSE(w.curve());
    RuleResults rules;
    w.logic.command3Click(&rules);

    const Geometry g = captureGeometry(t.h, t.HoverH, t.R, t.RoverR);
    const LoadLaw law(g, 210000, 0.3);
    ASSERT_TRUE(law.valid());
    SpringDesign d = w.design();
    for (double l : {0.0, 0.37, 1.234, 3.3, 7.77, 9.999}) EXPECT_EQ(law(l), SpringLoad(d, l).value()) << l;

    const auto points = findWorkingPoints(law, 1.6, 1.6);
    ASSERT_TRUE(points);
    EXPECT_EQ(points->lambda1B, w.design().lambda1B.value());
    EXPECT_EQ(points->lambda1A, w.design().lambda1A.value());
    EXPECT_EQ(points->lambda1C, w.design().lambda1C.value());
    EXPECT_EQ(format(points->F1B, "0.000"), w.text(TextBox::Text18));

    const RuleOutcomes outcomes = checkRules(g, defaultClutch(), *points);
    for (int i = 0; i < kRuleCount; ++i) {
      EXPECT_EQ(outcomes[static_cast<std::size_t>(i)].passed, rules[static_cast<std::size_t>(i)].passed) << "rule " << i + 1;
      EXPECT_EQ(outcomes[static_cast<std::size_t>(i)].miss == 0, outcomes[static_cast<std::size_t>(i)].passed)
          << "rule " << i + 1;
    }
  }
}

// The exact maximum on an interval is never below a dense sampling of it and
// exceeds it by no more than the sampling can miss.
TEST(Candidate, MaximumOnAnIntervalIsExact) {
  const LoadLaw law(captureGeometry("2.2", "1.9", "84.7", "1.33"), 210000, 0.3);
  double roots[2];
  ASSERT_EQ(law.stationaryPoints(roots), 2);
  const std::pair<double, double> intervals[] = {
      {0, 10}, {roots[0] - 1, roots[0] + 0.5}, {roots[1] - 0.3, roots[1] + 2}, {0.5, 1.0}, {roots[0], roots[1]}};
  for (const auto& [lo, hi] : intervals) {
    double sampled = -1e300;
    for (int i = 0; i <= 200000; ++i) sampled = std::max(sampled, law(lo + (hi - lo) * i / 200000.0));
    const double exact = law.maxOn(lo, hi);
    EXPECT_GE(exact, sampled - 1e-9) << lo << " " << hi;
    EXPECT_LE(exact - sampled, 1e-6) << lo << " " << hi;
  }
  // The stationary points are where the slope vanishes.
  for (double x : roots) EXPECT_NEAR((law(x + 1e-6) - law(x - 1e-6)) / 2e-6, 0, 1e-2);
}

TEST(Candidate, NoPeakBelowTheRootOfTwo) {
  // H/h below sqrt(2): the curve rises throughout and the window finds no B.
  const LoadLaw law(captureGeometry("2.2", "1.4", "84.7", "1.33"), 210000, 0.3);
  double roots[2];
  EXPECT_EQ(law.stationaryPoints(roots), 0);
  EXPECT_FALSE(findWorkingPoints(law, 1.6, 1.6));
}

TEST(Candidate, DecimalTexts) {
  const std::tuple<long long, int, const char*> cases[] = {
      {22, 1, "2.2"}, {2200, 3, "2.2"}, {847, 1, "84.7"}, {135, 0, "135"}, {5, 3, "0.005"},
      {12345, 4, "1.2345"}, {100, 2, "1"}, {-15, 1, "-1.5"}, {0, 3, "0"},
  };
  for (const auto& [k, decimals, text] : cases) EXPECT_EQ(decimalText(k, decimals), text);
}

}  // namespace
}  // namespace diaspring::search

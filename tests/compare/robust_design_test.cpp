#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "compare/production_yield.h"
#include "compare/yield_openings.h"
#include "search/strength_goals.h"
#include "support/inputs_with.h"

namespace diaspring::compare {
namespace {

using diaspring::testing::inputsWith;

search::Result robustSearch(const DesignInputs& base, double minYield) {
  search::Options options;
  options.threads = 2;
  EXPECT_EQ(search::addStrengthGoals(options, base), "");
  EXPECT_EQ(addYieldGoals(options, base, minYield), "");
  return search::runSearch(base, options);
}

// The window's clutch and three of thicker springs, whose fronts hold
// robust designs: the designs most at risk (the least yield reported, the first and the last by
// wear rise) reach the yield again by a Monte Carlo of their own: another
// seed, 100,000 springs.
TEST(RobustDesign, EveryProposedDesignReachesTheYieldByAnIndependentMonteCarlo) {
  const std::vector<DesignInputs> clutches = {
      DesignInputs(),
      inputsWith({{"F", "8000"}, {"D", "220"}, {"d", "150"}, {"r0", "22"}, {"rf", "24"}}),
      inputsWith({{"F", "8000"}, {"D", "220"}, {"d", "150"}, {"r0", "22"}, {"rf", "24"}, {"sigmaAllow", "1800"}}),
      inputsWith({{"F", "7500"}, {"D", "218"}, {"d", "150"}, {"r0", "22"}, {"rf", "24"}}),
  };
  for (const DesignInputs& base : clutches) {
    const std::size_t which = static_cast<std::size_t>(&base - &clutches[0]);
    const search::Result result = robustSearch(base, kDefaultMinYield);
    ASSERT_FALSE(result.designs.empty()) << "clutch " << which;
    std::vector<const search::Design*> atRisk{&result.designs.front(), &result.designs.back()};
    for (const search::Design& d : result.designs) {
      ASSERT_TRUE(d.finalFigure) << "clutch " << which;
      EXPECT_GE(*d.finalFigure, kDefaultMinYield);
    }
    atRisk.push_back(&*std::min_element(result.designs.begin(), result.designs.end(),
                                        [](const search::Design& a, const search::Design& b) {
                                          return *a.finalFigure < *b.finalFigure;
                                        }));
    for (const search::Design* d : atRisk) {
      const auto y = defaultProductionYield(d->inputs, 100000, 20261208, 2);
      ASSERT_TRUE(y);
      EXPECT_GE(y->overall.value, kDefaultMinYield)
          << "clutch " << which << ": h=" << d->inputs.text(TextBox::Text4) << " H/h=" << d->inputs.text(TextBox::Text6)
          << " R=" << d->inputs.text(TextBox::Text7) << " R/r=" << d->inputs.text(TextBox::Text9);
    }
  }
}

// A least yield no design of the window's clutch meets (the best reach
// about 99.5 %): the search says that the yield is what no design meets,
// and by how much. At 0 it is today's search, with no yield figure.
TEST(RobustDesign, AYieldNoDesignMeetsIsNamedAndTodaysFrontIsAt0) {
  const search::Result robust = robustSearch(DesignInputs(), 0.999);
  EXPECT_TRUE(robust.designs.empty());
  ASSERT_TRUE(robust.infeasible);
  search::Options options;
  ASSERT_EQ(search::addStrengthGoals(options, DesignInputs()), "");
  ASSERT_EQ(addYieldGoals(options, DesignInputs(), 0.999), "");
  const std::string why = search::explainEnglish(*robust.infeasible, options);
  EXPECT_NE(why.find(std::string(kYieldScreen) + ": misses by"), std::string::npos) << why;
  EXPECT_NE(why.find("percentage points"), std::string::npos) << why;

  const search::Result today = robustSearch(DesignInputs(), 0);
  ASSERT_FALSE(today.designs.empty());
  for (const search::Design& d : today.designs) EXPECT_FALSE(d.finalFigure);
}

// When the yield holds the window's clutch shut (at 99.5 %), the single
// tolerance that opens it: narrower than the standard's, and a search with
// it finds designs that reach the yield. (Ranges around the nearest design, to keep the
// many searches short.)
TEST(RobustDesign, TheWindowsClutchOpensWithOneNarrowerTolerance) {
  const DesignInputs base;
  const double least = 0.995;
  search::Options options;
  options.threads = 2;
  options.ranges = {{2.2, 2.6}, {1.7, 1.9}, {84, 96}, {1.3, 1.35}};
  ASSERT_EQ(search::addStrengthGoals(options, base), "");
  ASSERT_EQ(addYieldGoals(options, base, least), "");
  ASSERT_TRUE(search::runSearch(base, options).designs.empty());
  const std::optional<search::Opening> o = openingByTolerance(base, options, least);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->tolerance);
  const std::string names[] = {"h", "l0", "R", "r"};
  ASSERT_NE(std::find(std::begin(names), std::end(names), o->input), std::end(names)) << o->input;
  EXPECT_EQ(o->unit, "mm");
  const double from = std::stod(o->from), to = std::stod(o->to);
  EXPECT_LT(to, from);
  EXPECT_GT(o->designs, 0U);
  EXPECT_NE(search::openingChinese(*o).find(o->input + " 的公差 从 ±" + o->from + " mm 改为 ±" + o->to + " mm"),
            std::string::npos)
      << search::openingChinese(*o);
  EXPECT_NE(search::openingEnglish(*o).find("+/-" + o->to + " mm instead of +/-" + o->from + " mm"), std::string::npos)
      << search::openingEnglish(*o);
  // The search with that tolerance: designs, each reaching the yield.
  search::Options narrowed;
  narrowed.threads = 2;
  narrowed.ranges = options.ranges;
  ASSERT_EQ(search::addStrengthGoals(narrowed, base), "");
  ToleranceChoice choice;
  (o->input == "h" ? choice.h : o->input == "l0" ? choice.l0 : o->input == "R" ? choice.R : choice.r) = to;
  ASSERT_EQ(addYieldGoals(narrowed, base, least, choice), "");
  const search::Result opened = search::runSearch(base, narrowed);
  EXPECT_EQ(opened.designs.size(), o->designs);
  for (const search::Design& d : opened.designs) EXPECT_GE(d.finalFigure.value_or(0), least);
}

// What opens a search that finds nothing, by which goal holds it shut:
// the yield alone, the least yield or a tolerance; a rule as well, the
// clutch data (the yield cannot mend the rule). Ranges around the designs
// the openings let through, to keep the searches short.
TEST(RobustDesign, OpeningsFollowTheGoalThatHoldsTheSpaceShut) {
  struct Case {
    DesignInputs base;
    double least;
    search::Ranges ranges;
    const char* input;  // of the first opening
  };
  const Case cases[] = {
      {DesignInputs(), 0.999, {{2.2, 2.6}, {1.7, 1.9}, {84, 96}, {1.3, 1.35}}, "the least production yield"},
      {inputsWith({{"F", "6500"}, {"D", "200"}, {"d", "137"}, {"r0", "18"}}), kDefaultMinYield,
       {{2.6, 2.75}, {1.7, 1.8}, {97, 100}, {1.3, 1.33}}, "r0"},
  };
  for (const Case& c : cases) {
    search::Options options;
    options.threads = 2;
    options.ranges = c.ranges;
    ASSERT_EQ(search::addStrengthGoals(options, c.base), "");
    ASSERT_EQ(addYieldGoals(options, c.base, c.least), "");
    const search::Result r = search::runSearch(c.base, options);
    ASSERT_TRUE(r.infeasible) << c.input;
    const Openings o = openingsOf(c.base, options, c.least, *r.infeasible);
    ASSERT_FALSE(o.found.empty()) << c.input << ": " << o.noneEnglish;
    EXPECT_EQ(o.found.front().input, c.input);
    EXPECT_GT(o.found.front().designs, 0U);
  }
}

}  // namespace
}  // namespace diaspring::compare

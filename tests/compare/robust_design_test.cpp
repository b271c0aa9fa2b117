#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compare/production_yield.h"
#include "search/strength_goals.h"

namespace diaspring::compare {
namespace {

DesignInputs inputsWith(std::initializer_list<std::pair<const char*, const char*>> texts) {
  DesignInputs in;
  for (const auto& [key, text] : texts) {
    if (const auto box = inputBoxOfKey(key)) in.setText(*box, text);
    else in.setExtra(key, text);
  }
  return in;
}

search::Result robustSearch(const DesignInputs& base, double minYield) {
  search::Options options;
  options.threads = 2;
  EXPECT_EQ(search::addStrengthGoals(options, base), "");
  EXPECT_EQ(addYieldGoals(options, base, minYield), "");
  return search::runSearch(base, options);
}

// For the window's clutch and three others: the front is not empty, and
// the designs most at risk (the least yield reported, the first and the
// last by wear rise) reach the yield again by a Monte Carlo of their own:
// another seed, 100,000 springs.
TEST(RobustDesign, EveryProposedDesignReachesTheYieldByAnIndependentMonteCarlo) {
  const std::vector<DesignInputs> clutches = {
      inputsWith({}),
      inputsWith({{"F", "6500"}, {"D", "200"}, {"d", "137"}, {"r0", "20"}}),
      inputsWith({{"F", "5200"}, {"sigmaAllow", "1800"}}),
      inputsWith({{"F", "4000"}, {"D", "170"}, {"d", "118"}, {"r0", "17"}, {"rf", "19"}}),
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

}  // namespace
}  // namespace diaspring::compare

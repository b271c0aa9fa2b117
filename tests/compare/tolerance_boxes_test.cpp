#include "compare/tolerance_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace diaspring::compare {
namespace {

// Each box's text read as the window reads it: what is refused keeps the
// value before and is named, the rest is taken.
TEST(ToleranceBoxes, TextsReadOrKeepTheLastValue) {
  struct Case {
    const char* what;
    ToleranceTexts texts;
    std::string refused;
    std::vector<std::size_t> bad;
    Tolerances expect;
    int samples;
    std::uint64_t seed;
  };
  ComparisonInput before;
  before.tolerances = {0.01, 0.02, 0.03, 0.04, 1, 5};
  before.samples = 100;
  before.seed = 7;
  const Case cases[] = {
      {"all read", {"0.05", "0.1", "0.2", "0.3", "2", "8", "5000", "3"}, "", {}, {0.05, 0.1, 0.2, 0.3, 2, 8}, 5000, 3},
      {"a negative tolerance and a text", {"-0.05", "0.1", "abc", "0.3", "2", "8", "5000", "3"}, "h、R", {0, 2},
       {0.01, 0.1, 0.03, 0.3, 2, 8}, 5000, 3},
      {"samples not whole and too many; a seed too large",
       {"0.05", "0.1", "0.2", "0.3", "2", "夹", "2.5", "9007199254740992"}, "夹紧力 F、抽样数、随机种子", {5, 6, 7},
       {0.05, 0.1, 0.2, 0.3, 2, 5}, 100, 7},
      {"the most samples; an empty box", {"", "0", "0", "0", "0", "0", "1000000", "0"}, "h", {0}, {0.01, 0, 0, 0, 0, 0},
       1000000, 0},
      {"one sample too many", {"0", "0", "0", "0", "0", "0", "1000001", "1000"}, "抽样数", {6}, {0, 0, 0, 0, 0, 0}, 100, 1000},
  };
  for (const Case& c : cases) {
    ComparisonInput in = before;
    const ToleranceReading r = readToleranceTexts(c.texts, in);
    EXPECT_EQ(r.refused, c.refused) << c.what;
    for (std::size_t i = 0; i < kToleranceBoxCount; ++i)
      EXPECT_EQ(r.bad[i], std::find(c.bad.begin(), c.bad.end(), i) != c.bad.end()) << c.what << " box " << i;
    const Tolerances& t = in.tolerances;
    EXPECT_EQ((std::array{t.h, t.l0, t.R, t.r, t.Epercent, t.clampPercent}),
              (std::array{c.expect.h, c.expect.l0, c.expect.R, c.expect.r, c.expect.Epercent, c.expect.clampPercent}))
        << c.what;
    EXPECT_EQ(in.samples, c.samples) << c.what;
    EXPECT_EQ(in.seed, c.seed) << c.what;
  }
}

// The texts written for a design read back to the same tolerances.
TEST(ToleranceBoxes, TextsOfTheStandardTolerancesReadBack) {
  ComparisonInput in;
  const DesignCurve d = designCurve(DesignInputs(), "x");
  ASSERT_TRUE(d.ok()) << d.error;
  in.tolerances = defaultTolerances(d.g);
  in.seed = 12345678901234ULL;
  ComparisonInput back;
  const ToleranceReading r = readToleranceTexts(toleranceTexts(in), back);
  EXPECT_EQ(r.refused, "");
  EXPECT_EQ(back.tolerances.h, in.tolerances.h);
  EXPECT_EQ(back.tolerances.R, in.tolerances.R);
  EXPECT_EQ(back.tolerances.clampPercent, in.tolerances.clampPercent);
  EXPECT_EQ(back.samples, in.samples);
  EXPECT_EQ(back.seed, in.seed);
}

}  // namespace
}  // namespace diaspring::compare

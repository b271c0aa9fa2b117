#include <gtest/gtest.h>

#include <limits>

#include "chart/nice_step.h"

namespace diaspring {
namespace {

// The step is the least of 1, 2, 5 x 10^k at or above span / parts; a slack
// lets a share a hair above a round step keep that step, and a span that is
// no positive number gets a usable step instead of zero or NaN.
TEST(NiceStep, RoundStepsTheirSlackAndSpansThatAreNone) {
  const struct {
    double span;
    int parts;
    double slack, expected;
  } cases[] = {
      {6, 6, 1, 1},          {7, 6, 1, 2},          {1300, 7, 1, 200},  {0.3, 4, 1, 0.1},
      {5.0000002, 5, 1, 2},  {5.0000002, 5, 1.0000001, 1},            {50, 5, 1.0000001, 10},
      {0, 5, 1, 1},          {-3, 5, 1, 1},          {std::numeric_limits<double>::infinity(), 5, 1, 1},
      {std::numeric_limits<double>::quiet_NaN(), 5, 1, 1},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(niceStep(c.span, c.parts, c.slack), c.expected) << c.span << " / " << c.parts;
}

}  // namespace
}  // namespace diaspring

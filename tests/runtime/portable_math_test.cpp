#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/portable_log.h"

namespace diaspring {
namespace {

// Within `ulps` units in the last place of the library's value.
bool near(double got, double want, double ulps) {
  return std::fabs(got - want) <= ulps * std::fabs(std::nextafter(want, INFINITY) - want);
}

TEST(PortableExp, WithinAnUlpAcrossTheRangeAndExactAtTheEdges) {
  for (double x = -745.0; x <= 709.7; x += 0.7312) EXPECT_TRUE(near(portableExp(x), std::exp(x), 1)) << x;
  for (double x = -1; x <= 1; x += 1.0 / 1024) EXPECT_TRUE(near(portableExp(x), std::exp(x), 1)) << x;
  EXPECT_EQ(portableExp(0), 1.0);
  EXPECT_EQ(portableExp(710), std::numeric_limits<double>::infinity());
  EXPECT_EQ(portableExp(-746), 0.0);
  EXPECT_TRUE(std::isnan(portableExp(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_EQ(portableExp(portableLog(2.5)), 2.5);
}

// Published values: erfc from Abramowitz & Stegun, Handbook of Mathematical
// Functions (1964), table 7.1 (erf to 15 decimals), and the normal
// quantiles Φ(1.95996398) = 0.975, Φ(2.32634787) = 0.99, Φ(−3.09023231) = 0.001.
TEST(PortableErfc, MatchesPublishedValuesWithinItsRelativeErrorBound) {
  const struct {
    double x, erfc;
  } cases[] = {
      {0.0, 1.0},
      {0.5, 1 - 0.520499877813047},
      {1.0, 1 - 0.842700792949715},
      {2.0, 1 - 0.995322265018953},
      {3.0, 2.20904969985854e-5},
      {-1.0, 1 + 0.842700792949715},
      {5.0, 1.53745979442803e-12},
  };
  for (const auto& c : cases) EXPECT_NEAR(portableErfc(c.x), c.erfc, 1.2e-7 * c.erfc) << c.x;
  const struct {
    double z, p;
  } quantiles[] = {{1.959963984540054, 0.975}, {2.326347874040841, 0.99}, {-3.090232306167814, 0.001}, {0, 0.5}};
  for (const auto& q : quantiles) EXPECT_NEAR(normalCdf(q.z), q.p, 1e-6 * q.p) << q.z;
  EXPECT_EQ(portableErfc(40), 0.0);
  EXPECT_EQ(portableErfc(-40), 2.0);
}

TEST(CosSinOfTurn, WithinTwoUlpOfTheLibraryOnTheTurnAndExactOnTheAxes) {
  for (int i = 1; i <= 4096; ++i) {
    const double u = i / 4099.0;
    const CosSin cs = cosSinOfTurn(u);
    const double angle = 2 * 3.14159265358979323846 * u;
    EXPECT_NEAR(cs.cos, std::cos(angle), 1e-15) << u;
    EXPECT_NEAR(cs.sin, std::sin(angle), 1e-15) << u;
  }
  const struct {
    double u, cos, sin;
  } axes[] = {{0, 1, 0}, {0.25, 0, 1}, {0.5, -1, 0}, {0.75, 0, -1}, {1, 1, 0}};
  for (const auto& a : axes) {
    EXPECT_EQ(cosSinOfTurn(a.u).cos, a.cos) << a.u;
    EXPECT_EQ(cosSinOfTurn(a.u).sin, a.sin) << a.u;
  }
  EXPECT_TRUE(std::isnan(cosSinOfTurn(1.5).cos));
}

}  // namespace
}  // namespace diaspring

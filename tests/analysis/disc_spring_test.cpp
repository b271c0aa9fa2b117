// The disc-spring function against the load and stress columns of the
// DIN 2093:2006-03 dimension tables (Tabelle 1 to 3: series A, B and C;
// E = 206000 MPa, μ = 0.3, load and stresses at s = 0.75·h0; the 2006
// edition recomputed these columns with the DIN 2092:2006 equations). The
// tables give F to three significant figures and stresses in whole MPa.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/disc_spring.h"

namespace diaspring {
namespace {

struct TableRow {
  const char* series;
  double De, Di, t, h0;
  double F;     // N, rounded to 3 significant figures
  double Fhalf; // half a unit of the last figure the table gives
};

constexpr TableRow kRows[] = {
    {"A 8", 8, 4.2, 0.4, 0.2, 210, 0.5},
    {"A 40", 40, 20.4, 2.25, 0.9, 6500, 5},
    {"A 100", 100, 51, 6, 2.2, 48000, 50},
    {"A 200", 200, 102, 12, 4.2, 183000, 500},
    {"B 40", 40, 20.4, 1.5, 1.15, 2620, 5},
    {"C 40", 40, 20.4, 1, 1.3, 1020, 5},
};

TEST(DiscSpring, LoadAtThreeQuartersOfTheConeHeightMatchesTheTables) {
  for (const TableRow& row : kRows) {
    const DiscSpring spring{row.De, row.Di, row.t, row.h0, 206000, 0.3};
    ASSERT_EQ(discSpringProblem(spring), "") << row.series;
    EXPECT_NEAR(discSpringAt(spring, 0.75 * row.h0).F, row.F, row.Fhalf) << row.series;
  }
}

// Series A, De = 40: σOM = −1196, σII = 1328, σIII = 1112 MPa in the table.
TEST(DiscSpring, StressesOfSeriesA40MatchTheTable) {
  const DiscSpring spring{40, 20.4, 2.25, 0.9, 206000, 0.3};
  const DiscState at = discSpringAt(spring, 0.675);
  EXPECT_NEAR(at.sigmaOM, -1196, 0.5);
  EXPECT_NEAR(at.sigmaII, 1328, 0.5);
  EXPECT_NEAR(at.sigmaIII, 1112, 0.5);
  // The inner top edge carries the largest compression, the outer top edge
  // a smaller one.
  EXPECT_LT(at.sigmaI, at.sigmaIV);
  EXPECT_LT(at.sigmaIV, 0);
}

// Flat (s = h0) the load is A·t² exactly, the cone term (h0/t − s/t) being 0;
// F/s is a quadratic in s whose roots h0 and 2·h0 put its vertex at 1.5·h0.
TEST(DiscSpring, KnownShapesOfTheCharacteristic) {
  const DiscSpring spring{40, 20.4, 1, 1.3, 206000, 0.3};
  const DiscFactors f = discFactors(40, 20.4);
  const double A = 4 * 206000 / (1 - 0.09) * 1.0 / (f.K1 * 1600) * 1.3;
  EXPECT_NEAR(discSpringAt(spring, 1.3).F, A, 1e-9 * A);
  EXPECT_DOUBLE_EQ(discSpringAt(spring, 0).F, 0);
  const auto perS = [&](double s) { return discSpringAt(spring, s).F / s; };
  EXPECT_NEAR(perS(1.5 * 1.3 - 0.4), perS(1.5 * 1.3 + 0.4), 1e-9 * perS(1.5 * 1.3));
}

TEST(DiscSpring, RefusesImpossibleSprings) {
  struct Case {
    DiscSpring spring;
    const char* problem;
  };
  const Case cases[] = {
      {{20, 40, 1, 1, 206000, 0.3}, "De must be larger than Di"},
      {{40, 0, 1, 1, 206000, 0.3}, "Di must be above 0"},
      {{40, 20, 0, 1, 206000, 0.3}, "t must be above 0"},
      {{40, 20, 1, -1, 206000, 0.3}, "h0 must not be negative"},
      {{40, 20, 1, 1, 0, 0.3}, "E must be above 0"},
      {{40, 20, 1, 1, 206000, 1}, "mu must lie in 0 ... 1 (1 excluded)"},
      {{40, 20, NAN, 1, 206000, 0.3}, "every dimension must be a finite number"},
  };
  for (const Case& c : cases) EXPECT_EQ(discSpringProblem(c.spring), c.problem);
}

}  // namespace
}  // namespace diaspring

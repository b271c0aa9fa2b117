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

// A manufacturer's published dimension table of DIN 2093 series A springs
// (Shuangyuan Disc Springs, "DIN 2093 Disc Springs", xmdiscsprings.com,
// item numbers A2 ... A11; E = 206000 MPa, μ = 0.3): the load F (3
// significant figures) and σOM (to 10 MPa) at the deflection f of its own
// column, which is 0.75·h0 rounded to hundredths of a millimetre.
TEST(DiscSpring, LoadAndMeanStressMatchAPublishedSeriesATable) {
  struct Row {
    const char* item;
    double De, Di, t, h0, f, F, sigmaOM;
  };
  constexpr Row rows[] = {
      {"A2", 10, 5.2, 0.5, 0.25, 0.19, 329, -1210},      {"A3", 12.5, 6.2, 0.7, 0.3, 0.23, 673, -1280},
      {"A7", 20, 10.2, 1.1, 0.45, 0.34, 1530, -1180},    {"A9", 25, 12.2, 1.5, 0.55, 0.41, 2910, -1210},
      {"A10", 28, 14.2, 1.5, 0.65, 0.49, 2850, -1180},   {"A11", 31.5, 16.3, 1.75, 0.7, 0.53, 3900, -1190},
  };
  for (const Row& row : rows) {
    const DiscSpring spring{row.De, row.Di, row.t, row.h0, 206000, 0.3};
    const auto at = discSpringAt(spring, row.f);
    const double half = std::pow(10.0, std::floor(std::log10(row.F)) - 2) / 2;  // half the last figure
    EXPECT_NEAR(at.F, row.F, half) << row.item;
    EXPECT_NEAR(at.sigmaOM, row.sigmaOM, 5) << row.item;
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

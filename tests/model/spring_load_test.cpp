#include <bit>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "model/spring_design.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

// The record as the default window captures it.
SpringDesign defaultDesign() {
  SpringDesign d;
  d.R = 84.7;
  d.r = 63.68;
  d.R1 = 82.7;
  d.r1 = 65.68;
  d.H = 4.18;
  d.h = 2.2;
  d.E = 210000;
  d.mu = 0.3;
  return d;
}

TEST(LoadLawConstants, PiIsTheSinglePrecisionValueWidened) {
  EXPECT_EQ(kLawPi, static_cast<double>(std::bit_cast<float>(std::uint32_t{0x40490FDA})));
  EXPECT_NE(kLawPi, M_PI);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kLogBase), 0x4005BF0AA21A719BULL);
}

TEST(NaturalLog, IsScaledByTheLogarithmOfItsBase) {
  EXPECT_EQ(NaturalLog(1).value(), 0.0);
  EXPECT_EQ(NaturalLog(kLogBase).value(), 1.0);
  EXPECT_NEAR(NaturalLog(M_E).value(), 0.99999993689, 1e-11);
  EXPECT_NE(NaturalLog(M_E).value(), 1.0);
  EXPECT_NEAR(NaturalLog(10).value(), 2.3025849477, 1e-10);
  EXPECT_LT(NaturalLog(10).value(), std::log(10.0));
}

TEST(NaturalLog, FaultsOnNumbersNotAboveZero) {
  for (double x : {0.0, -1.0, -1e-300}) {
    try {
      NaturalLog(x);
      FAIL() << "no fault for " << x;
    } catch (const Fault& f) {
      EXPECT_EQ(f.kind(), FaultKind::InvalidOperation) << x;
    }
  }
}

TEST(SpringLoad, DefaultDesignGoldenLoads) {
  SpringDesign d = defaultDesign();
  const struct {
    double lambda;
    const char* load;
  } cases[] = {
      {0, "0.000"},        {1, "4013.119"},     {2, "5170.126"}, {3, "4668.770"},
      {4, "3706.799"},     {5, "3481.961"},     {6, "5192.007"}, {7, "10034.684"},
  };
  for (const auto& c : cases) EXPECT_EQ(format(SpringLoad(d, c.lambda), "0.000"), c.load) << "lambda1 = " << c.lambda;
  EXPECT_NEAR(d.logRatio.value(), 0.285245042, 1e-9);
  EXPECT_NEAR(d.geometryTerm.value(), 0.000984689, 1e-9);
}

TEST(SpringLoad, StoresItsTermsAsItFormsThem) {
  SpringDesign d = defaultDesign();
  const Num load = SpringLoad(d, 2);
  EXPECT_NEAR(d.heightTerm1.value(), 1.70996, 1e-5);
  EXPECT_NEAR(d.heightTerm2.value(), 2.94498, 1e-5);
  EXPECT_NEAR(d.shapeTerm.value(), 9.87582, 1e-5);
  // The result is the product of the stored terms, in this grouping.
  EXPECT_EQ(load.value(), (d.elasticTerm.value() * d.geometryTerm.value()) * d.shapeTerm.value());
  EXPECT_FALSE(d.F1Sweep.isSet());
}

TEST(SpringLoad, ZeroDeflectionGivesZeroLoad) {
  for (double hOverH : {1.0, 1.5, 1.9, 2.5}) {
    SpringDesign d = defaultDesign();
    d.H = d.h * hOverH;
    EXPECT_EQ(SpringLoad(d, 0).value(), 0.0) << hOverH;
  }
}

TEST(SpringLoad, AgreesWithTheExpandedCubic) {
  // F1 = C[(H^2 + h^2) l - 1.5 q H l^2 + 0.5 q^2 l^3]; peak and valley at
  // (H -/+ sqrt((H^2 - 2h^2)/3)) / q.
  SpringDesign d = defaultDesign();
  const double R = 84.7, r = 63.68, R1 = 82.7, r1 = 65.68, H = 4.18, h = 2.2, E = 210000, mu = 0.3;
  const double q = (R - r) / (R1 - r1);
  const double C = kLawPi * E * h * std::log(R / r) / std::log(kLogBase) / (6 * (1 - mu * mu)) / ((R1 - r1) * (R1 - r1));
  for (double l : {0.5, 1.7, 3.3, 6.1}) {
    const double expanded = C * ((H * H + h * h) * l - 1.5 * q * H * l * l + 0.5 * q * q * l * l * l);
    EXPECT_NEAR(SpringLoad(d, l).value(), expanded, 1e-8 * expanded) << l;
  }
}

// Each fault is raised where it first occurs; the terms formed before it stay.
TEST(SpringLoad, FaultsLeaveTheEarlierTermsWritten) {
  struct Case {
    const char* name;
    void (*setup)(SpringDesign&);
    FaultKind kind;
    bool elastic, logRatio, geometry;
  };
  const Case cases[] = {
      {"mu squared is 1", [](SpringDesign& d) { d.mu = 1; }, FaultKind::DivisionByZero, false, false, false},
      {"mu is -1", [](SpringDesign& d) { d.mu = -1; }, FaultKind::DivisionByZero, false, false, false},
      {"r is 0", [](SpringDesign& d) { d.r = 0; }, FaultKind::DivisionByZero, true, false, false},
      {"R/r negative", [](SpringDesign& d) { d.r = -63.68; }, FaultKind::InvalidOperation, true, false, false},
      {"R is 0", [](SpringDesign& d) { d.R = 0; }, FaultKind::InvalidOperation, true, false, false},
      {"R1 equals r1", [](SpringDesign& d) { d.R1 = d.r1; }, FaultKind::DivisionByZero, true, true, false},
      {"never captured", [](SpringDesign& d) { d = SpringDesign(); }, FaultKind::InvalidOperation, true, false, false},
      {"modulus beyond range", [](SpringDesign& d) { d.E = 1e308; }, FaultKind::Overflow, false, false, false},
  };
  for (const Case& c : cases) {
    SpringDesign d = defaultDesign();
    c.setup(d);
    try {
      SpringLoad(d, 1);
      ADD_FAILURE() << c.name << ": no fault";
    } catch (const Fault& f) {
      EXPECT_EQ(f.kind(), c.kind) << c.name;
    }
    EXPECT_EQ(d.elasticTerm.isSet(), c.elastic) << c.name;
    EXPECT_EQ(d.logRatio.isSet(), c.logRatio) << c.name;
    EXPECT_EQ(d.geometryTerm.isSet(), c.geometry) << c.name;
    EXPECT_FALSE(d.shapeTerm.isSet()) << c.name;
  }
}

}  // namespace
}  // namespace diaspring

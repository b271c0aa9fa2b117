#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

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

namespace diaspring {
namespace {

// SpringLoad's plain-double path must agree bit for bit with the checked
// steps, terms included, over a spread of designs and deflections.
TEST(SpringLoad, FastPathAgreesWithTheCheckedSteps) {
  std::uint64_t seed = 12345;
  const auto uniform = [&seed](double low, double high) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return low + (high - low) * static_cast<double>(seed >> 11) / 9007199254740992.0;
  };
  for (int i = 0; i < 20000; ++i) {
    SpringDesign a;
    a.h = uniform(0.5, 5);
    a.H = a.h * uniform(0.5, 3);
    a.R = uniform(20, 200);
    a.r = a.R / uniform(1.05, 2);
    a.R1 = a.R - 2;
    a.r1 = a.r + 2;
    a.E = uniform(1e4, 3e5);
    a.mu = uniform(-0.9, 0.9);
    SpringDesign b = a;
    const double lambda = uniform(-2, 12);
    const Num fast = SpringLoad(a, lambda);
    const Num checked = detail::SpringLoadChecked(b, lambda);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast.value()), std::bit_cast<std::uint64_t>(checked.value())) << i;
    for (auto field : {&SpringDesign::elasticTerm, &SpringDesign::logRatio, &SpringDesign::geometryTerm,
                       &SpringDesign::heightTerm1, &SpringDesign::heightTerm2, &SpringDesign::shapeTerm})
      ASSERT_EQ(std::bit_cast<std::uint64_t>((a.*field).value()), std::bit_cast<std::uint64_t>((b.*field).value())) << i;
  }
}

// Designs at the edge of the double range: wherever the checked steps fault,
// SpringLoad faults the same way and leaves the same terms written.
TEST(SpringLoad, FastPathHandsEveryFaultToTheCheckedSteps) {
  const struct {
    const char* name;
    double R, r, span, E, mu, h, lambda;
  } cases[] = {
      {"span squared underflows", 84.7, 63.68, 1e-170, 210000, 0.3, 2.2, 1},
      {"span squared overflows", 84.7, 63.68, 1e170, 210000, 0.3, 2.2, 1},
      {"elastic divisor overflows", 84.7, 63.68, 17.02, 210000, 1e160, 2.2, 1},
      {"elastic numerator overflows", 84.7, 63.68, 17.02, 1e300, 0.3, 2.2, 1e10},
      {"radius ratio overflows", 1e300, 1e-300, 17.02, 210000, 0.3, 2.2, 1},
      {"load overflows", 84.7, 63.68, 17.02, 1e300, 0.3, 2.2, 1e5},
      {"h squared overflows", 84.7, 63.68, 17.02, 210000, 0.3, 1e200, 0},
  };
  for (const auto& c : cases) {
    SpringDesign a;
    a.R = c.R;
    a.r = c.r;
    a.R1 = 0;
    a.r1 = -c.span;
    a.E = c.E;
    a.mu = c.mu;
    a.h = c.h;
    a.H = 1;
    SpringDesign b = a;
    std::optional<FaultKind> fastFault, checkedFault;
    try { SpringLoad(a, c.lambda); } catch (const Fault& f) { fastFault = f.kind(); }
    try { detail::SpringLoadChecked(b, c.lambda); } catch (const Fault& f) { checkedFault = f.kind(); }
    EXPECT_TRUE(checkedFault.has_value()) << c.name;
    EXPECT_EQ(fastFault, checkedFault) << c.name;
    EXPECT_EQ(a.elasticTerm.isSet(), b.elasticTerm.isSet()) << c.name;
    EXPECT_EQ(a.logRatio.isSet(), b.logRatio.isSet()) << c.name;
    EXPECT_EQ(a.geometryTerm.isSet(), b.geometryTerm.isSet()) << c.name;
    EXPECT_EQ(a.shapeTerm.isSet(), b.shapeTerm.isSet()) << c.name;
  }
}

}  // namespace
}  // namespace diaspring

// Checked arithmetic of design values and the names of its faults.

#include "runtime/num.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace diaspring {
namespace {

struct FaultCase {
  std::string what;
  std::function<void()> run;
  FaultKind expected;
};

TEST(Num, FaultsInsteadOfInfOrNaN) {
  const Num unset;
  const std::vector<FaultCase> cases = {
      {"1 / 0", [] { (void)(Num(1.0) / Num(0.0)); }, FaultKind::DivisionByZero},
      {"-1 / 0", [] { (void)(Num(-1.0) / Num(0.0)); }, FaultKind::DivisionByZero},
      {"1 / -0", [] { (void)(Num(1.0) / Num(-0.0)); }, FaultKind::DivisionByZero},
      {"1 / unset", [&] { (void)(Num(1.0) / unset); }, FaultKind::DivisionByZero},
      {"0 / 0", [] { (void)(Num(0.0) / Num(0.0)); }, FaultKind::InvalidOperation},
      {"-0 / 0", [] { (void)(Num(-0.0) / Num(0.0)); }, FaultKind::InvalidOperation},
      {"unset / unset", [&] { (void)(unset / unset); }, FaultKind::InvalidOperation},
      {"max + max", [] { (void)(Num(DBL_MAX) + Num(DBL_MAX)); }, FaultKind::Overflow},
      {"-max - max", [] { (void)(Num(-DBL_MAX) - Num(DBL_MAX)); }, FaultKind::Overflow},
      {"1e308 * 10", [] { (void)(Num(1e308) * Num(10.0)); }, FaultKind::Overflow},
      {"squared 1e200", [] { (void)squared(Num(1e200)); }, FaultKind::Overflow},
      {"max / 0.5", [] { (void)(Num(DBL_MAX) / Num(0.5)); }, FaultKind::Overflow},
      {"1e300 / 1e-300", [] { (void)(Num(1e300) / Num(-1e-300)); }, FaultKind::Overflow},
      {"ln 0", [] { (void)ln(Num(0.0)); }, FaultKind::InvalidOperation},
      {"ln -0", [] { (void)ln(Num(-0.0)); }, FaultKind::InvalidOperation},
      {"ln -1", [] { (void)ln(Num(-1.0)); }, FaultKind::InvalidOperation},
      {"ln unset", [&] { (void)ln(unset); }, FaultKind::InvalidOperation},
  };
  for (const auto& c : cases) {
    try {
      c.run();
      ADD_FAILURE() << c.what << ": no fault";
    } catch (const Fault& f) {
      EXPECT_EQ(f.kind(), c.expected) << c.what;
    }
  }
}

TEST(Num, ResultsInsideTheRangeAreNoFault) {
  EXPECT_EQ((Num(DBL_MAX) + Num(1.0)).value(), DBL_MAX);  // rounds back into the range
  EXPECT_EQ((Num(DBL_MAX) * Num(1.0)).value(), DBL_MAX);
  EXPECT_EQ((Num(1e-308) / Num(1e10)).value(), 1e-308 / 1e10);  // subnormal
  EXPECT_EQ((Num(1e-200) * Num(1e-200)).value(), 0.0);           // underflow is no fault
  EXPECT_EQ((Num(0.0) / Num(5.0)).value(), 0.0);
  EXPECT_EQ(ln(Num(1.0)).value(), 0.0);
  EXPECT_EQ(ln(Num(DBL_MAX)).value(), std::log(DBL_MAX));
  EXPECT_EQ(ln(Num(std::numeric_limits<double>::denorm_min())).value(),
            std::log(std::numeric_limits<double>::denorm_min()));
}

TEST(Num, UnsetReadsAsZeroAndResultsAreSet) {
  const Num unset;
  EXPECT_FALSE(unset.isSet());
  EXPECT_EQ(unset.value(), 0.0);

  const std::vector<std::pair<std::string, Num>> results = {
      {"unset + unset", unset + unset}, {"unset - 2", unset - Num(2.0)}, {"unset * 5", unset * Num(5.0)},
      {"unset / 4", unset / Num(4.0)},  {"-unset", -unset},              {"squared unset", squared(unset)},
      {"abs unset", abs(unset)},
  };
  const std::vector<double> expected = {0.0, -2.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_TRUE(results[i].second.isSet()) << results[i].first;
    EXPECT_EQ(results[i].second.value(), expected[i]) << results[i].first;
  }
  EXPECT_EQ(abs(Num(-3.5)).value(), 3.5);
}

TEST(Num, SingleOverflowsOnlyBeyondTheSingleRange) {
  EXPECT_EQ(single(Num(FLT_MAX)), FLT_MAX);
  EXPECT_EQ(single(Num(-FLT_MAX)), -FLT_MAX);
  // Above FLT_MAX but below the midpoint to the next power of two it still
  // rounds to FLT_MAX.
  const double justAbove = std::nextafter(static_cast<double>(FLT_MAX), DBL_MAX);
  EXPECT_EQ(single(Num(justAbove)), FLT_MAX);
  EXPECT_EQ(single(Num(1e-50)), 0.0f);
  EXPECT_EQ(single(Num(4013.119)), 4013.119f);

  for (double beyond : {0x1.ffffffp127, -0x1.ffffffp127, 1e39, -1e39, 1e300}) {
    try {
      (void)single(Num(beyond));
      ADD_FAILURE() << beyond << ": no fault";
    } catch (const Fault& f) {
      EXPECT_EQ(f.kind(), FaultKind::Overflow) << beyond;
    }
  }
}

TEST(Fault, NamesAndCause) {
  EXPECT_EQ(faultName(FaultKind::DivisionByZero), "division by zero");
  EXPECT_EQ(faultName(FaultKind::InvalidOperation), "invalid operation");
  EXPECT_EQ(faultName(FaultKind::Overflow), "overflow");
  EXPECT_EQ(faultNameZh(FaultKind::DivisionByZero), "除数为零");
  EXPECT_NE(faultNameZh(FaultKind::InvalidOperation), faultNameZh(FaultKind::Overflow));
  EXPECT_FALSE(faultNameZh(FaultKind::Overflow).empty());

  Fault f(FaultKind::Overflow);
  EXPECT_STREQ(f.what(), "overflow");
  EXPECT_TRUE(f.cause().empty());
  f.setCause("曲线没有峰值");
  EXPECT_EQ(f.cause(), "曲线没有峰值");
  EXPECT_EQ(Fault(FaultKind::DivisionByZero, "r0 为零").cause(), "r0 为零");
}

}  // namespace
}  // namespace diaspring

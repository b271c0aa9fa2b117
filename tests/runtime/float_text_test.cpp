// The integer-arithmetic conversions give the very characters the C++
// library's std::to_chars / std::from_chars give here, on which every text of
// the window was built, and the logarithm stays within an ULP of the C library's.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "runtime/float_text.h"
#include "runtime/portable_log.h"

namespace diaspring {
namespace {

template <class Float>
std::string libraryShortest(Float x) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

std::string libraryExact(double x) {
  char buf[900];
  const std::string t(buf, std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 766).ptr);
  std::string digits;
  for (char c : t.substr(0, t.find('e')))
    if (c != '.') digits += c;
  digits.erase(digits.find_last_not_of('0') + 1);
  return digits + "e" + std::to_string(std::stoi(t.substr(t.find('e') + 1)));
}

// Doubles of every kind: random bit patterns (subnormals, huge, tiny), whole
// numbers around 2^53 and beyond, short decimals, neighbours of powers of ten.
std::vector<double> sampleDoubles() {
  std::vector<double> xs = {0.0, -0.0, 1.0, 0.1, 0.3, 1e22, 1e23, 9007199254740993.0, 5e-324, 2.2250738585072014e-308,
                            std::numeric_limits<double>::max(), 123456789012345680000.0, 0.000123, 1e-7, 1.5e21};
  std::mt19937_64 rng(20261207);
  for (int i = 0; i < 4000; ++i) {
    xs.push_back(std::bit_cast<double>(rng()));
    const double scaled = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 140) - 70);
    xs.push_back(scaled);
    xs.push_back(std::round(scaled));
    xs.push_back(static_cast<double>(rng() % 100000000) / std::pow(10.0, static_cast<int>(rng() % 12)));
    const double p10 = std::pow(10.0, static_cast<int>(rng() % 600) - 300);
    xs.push_back(std::nextafter(p10, 0.0));
    xs.push_back(std::nextafter(p10, HUGE_VAL));
  }
  return xs;
}

TEST(FloatText, ShortestAndExactTextsAreTheLibrarysCharacters) {
  for (double x : sampleDoubles()) {
    if (!std::isfinite(x)) continue;
    ASSERT_EQ(shortestText(x), libraryShortest(x)) << std::hexfloat << x;
    const auto f = static_cast<float>(x);
    if (std::isfinite(f)) {
      ASSERT_EQ(shortestText(f), libraryShortest(f)) << std::hexfloat << x;
    }
    if (x != 0.0) {
      const ExactDecimal d = exactDecimal(x);
      ASSERT_EQ(d.digits + "e" + std::to_string(d.exponent), libraryExact(x)) << std::hexfloat << x;
    }
  }
}

// The cut digits are the exact expansion's first ones, also where rounding
// to two digits more carries back into them (…99|97…, …9|99…) or the
// guard digits are zeros of the exact value itself (0.5, 1e22, 2^-1074).
TEST(FloatText, LeadingDigitsAreTheExactExpansionCut) {
  std::vector<double> xs;
  const std::vector<double> all = sampleDoubles();
  for (std::size_t i = 0; i < all.size(); i += 7) xs.push_back(all[i]);  // a seventh of each kind (six kinds a round)
  for (double x : {0.99999999999999989, 9.9999999999999982, 0.29999999999999999, 0.5, 1e22, 5e-324, 1.0000000000000002,
                   4.35, 2.675, 1.0049999999999999, 123456789012345.67})
    xs.push_back(x);
  for (double x : xs) {
    if (x == 0.0 || !std::isfinite(x)) continue;
    const ExactDecimal exact = exactDecimal(x);
    for (int count : {1, 2, 7, 8, 15, 16, 17}) {
      std::string cut = exact.digits.substr(0, static_cast<std::size_t>(count));
      cut.erase(std::max<std::size_t>(1, cut.find_last_not_of('0') + 1));
      const ExactDecimal got = leadingDigits(x, count);
      ASSERT_EQ(got.digits + "e" + std::to_string(got.exponent), cut + "e" + std::to_string(exact.exponent))
          << std::hexfloat << x << " count " << count;
    }
  }
}

TEST(FloatText, ReadingRoundsLikeTheLibrary) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    // Short and very long digit strings; exponents over the whole range and
    // at both of its ends, where values overflow, turn subnormal or vanish.
    const int n = 1 + static_cast<int>(rng() % (i % 50 == 0 ? 900 : 25));
    std::string digits(1, static_cast<char>('1' + rng() % 9));
    for (int j = 1; j < n; ++j) digits += static_cast<char>('0' + rng() % 10);
    std::int64_t k = static_cast<std::int64_t>(rng() % 640) - 325;
    if (i % 4 == 0) k = (rng() % 2) ? 309 - static_cast<std::int64_t>(rng() % 2) : -321 - static_cast<std::int64_t>(rng() % 3);
    const std::string text = "0." + digits + "e" + std::to_string(k);

    double expected = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), expected);
    const double got = decimalToDouble(digits, k);
    if (res.ec == std::errc::result_out_of_range) {
      ASSERT_TRUE(std::isinf(got) || got == 0.0) << text;
    } else {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected)) << text;
    }

    float expectedF = 0.0F;
    if (std::from_chars(text.data(), text.data() + text.size(), expectedF).ec == std::errc{}) {
      ASSERT_EQ(decimalToFloat(digits, k), expectedF) << text;
    }
  }
  // Exactly halfway between two doubles: ties go to the even one.
  EXPECT_EQ(decimalToDouble("9007199254740993", 16), 9007199254740992.0);
  EXPECT_EQ(decimalToDouble("9007199254740995", 16), 9007199254740996.0);
}

TEST(PortableLog, WithinAnUlpOfTheLibraryAndExactAtTheEdges) {
  std::mt19937_64 rng(3);
  for (int i = 0; i < 200000; ++i) {
    double x = std::bit_cast<double>(rng() >> 1);  // every positive double
    if (i % 2 == 0) x = 1.0 + std::ldexp(static_cast<double>(rng() >> 11), -56) - 0x1p-4;  // near 1
    if (!std::isfinite(x)) continue;
    const double want = std::log(x);
    const double got = portableLog(x);
    ASSERT_LE(std::fabs(got - want), std::fabs(std::nextafter(want, HUGE_VAL) - want)) << std::hexfloat << x;
  }
  struct Edge {
    double x, expected;
  };
  for (const Edge& e : {Edge{1.0, 0.0}, Edge{0.0, -HUGE_VAL}, Edge{HUGE_VAL, HUGE_VAL}, Edge{2.0, 0x1.62e42fefa39efp-1},
                        Edge{5e-324, -0x1.74385446d71c3p+9}})
    EXPECT_EQ(portableLog(e.x), e.expected) << e.x;
  EXPECT_TRUE(std::isnan(portableLog(-1.0)));
  EXPECT_TRUE(std::isnan(portableLog(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
}  // namespace diaspring

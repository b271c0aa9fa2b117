// Text <-> number conversions: golden texts for each conversion and the
// properties that tie reading and writing together.

#include "runtime/convert.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace diaspring {
namespace {

constexpr double kMinSubnormal = std::numeric_limits<double>::denorm_min();

// ---------------------------------------------------------------------------
// val

struct ValCase {
  std::string text;
  double expected;
};

TEST(Val, ReadsTheLeadingNumber) {
  const std::vector<ValCase> cases = {
      // nothing that reads as a number
      {"", 0.0}, {"   ", 0.0}, {"abc", 0.0}, {".", 0.0}, {"-", 0.0}, {"+", 0.0}, {"--5", 0.0},
      {"+-5", 0.0}, {"e5", 0.0}, {"-e5", 0.0}, {"0x10", 0.0},
      // plain numbers as the fields hold them
      {"2.2", 2.2}, {"1.9", 1.9}, {"84.7", 84.7}, {"1.33", 1.33}, {"210000", 210000.0}, {"0.3", 0.3},
      {"63.68", 63.68}, {"0.200", 0.2}, {"-2.5", -2.5}, {"+7", 7.0}, {".5", 0.5}, {"-.5", -0.5},
      {"5.", 5.0}, {"007", 7.0},
      // trailing text is ignored, the number ends at the first character that cannot continue it
      {"2.2 mm", 2.2}, {"1.2.3", 1.2}, {"1,5", 1.0}, {"12abc", 12.0}, {"3-4", 3.0}, {"1d2", 1.0},
      {"1e3e4", 1000.0},
      // blanks are skipped wherever they stand
      {"  12", 12.0}, {"12  ", 12.0}, {"1 2 3", 123.0}, {"- 5", -5.0}, {"1 . 5", 1.5},
      {"\t\r\n7", 7.0}, {"1 e 3", 1000.0}, {"2.5E - 1", 0.25},
      // the exponent
      {"1e3", 1000.0}, {"1E3", 1000.0}, {"1e+3", 1000.0}, {"1e-3", 0.001}, {"1.5E+20", 1.5e20},
      {"1E-05", 1e-5}, {"1e", 1.0}, {"1e+", 1.0}, {"1e-", 1.0}, {"1E", 1.0}, {".5e1", 5.0},
      {"1e0003", 1000.0},
      // the ends of the double range
      {"1.7976931348623157e308", DBL_MAX}, {"-1.7976931348623157E308", -DBL_MAX},
      {"1.7976931348623158e308", DBL_MAX},  // rounds down to the largest double
      {"2.2250738585072014e-308", DBL_MIN},
      {"4.9406564584124654e-324", kMinSubnormal}, {"3e-324", kMinSubnormal},
      {"2e-324", 0.0}, {"1e-400", 0.0}, {"-1e-400", 0.0}, {"1e-99999999999999999999", 0.0},
      {"0e99999", 0.0}, {"0.000e99999999999999999999", 0.0},
  };
  for (const auto& c : cases) {
    const Num n = val(c.text);
    EXPECT_TRUE(n.isSet()) << '"' << c.text << '"';
    EXPECT_EQ(n.value(), c.expected) << '"' << c.text << '"';
    // A number that reads as zero is positive zero, whatever sign it had.
    if (c.expected == 0.0) {
      EXPECT_FALSE(std::signbit(n.value())) << '"' << c.text << '"';
    }
  }
}

TEST(Val, TellsWhetherTheWholeTextIsTheNumber) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"2.2", true}, {" 2.2 ", true}, {"-1.5E+3", true}, {".5", true}, {"5.", true}, {"1 2", true},
      {"1e-3", true}, {"007", true},
      {"", false}, {"   ", false}, {"2.2 mm", false}, {"1,5", false}, {"1e", false}, {"1e+", false},
      {"abc", false}, {".", false}, {"-", false}, {"1.2.3", false}, {"0x10", false}, {"12abc", false},
  };
  for (const auto& [text, whole] : cases) EXPECT_EQ(isWholeNumber(text), whole) << '"' << text << '"';
}

TEST(Val, ReadsLongDigitStringsExactly) {
  // The midpoint between 1 and the next double rounds to even (down); any
  // digit above zero far behind it must tip it up.
  const std::string midpoint = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(val(midpoint).value(), 1.0);
  EXPECT_EQ(val(midpoint + std::string(350, '0') + "1").value(), std::nextafter(1.0, 2.0));
  EXPECT_EQ(val(std::string(400, '0') + "42").value(), 42.0);
  EXPECT_EQ(val("0." + std::string(400, '0') + "1e+400").value(), 0.1);
  EXPECT_EQ(val("1" + std::string(300, '0')).value(), 1e300);
  EXPECT_EQ(val("1" + std::string(400, '0') + "e-400").value(), 1.0);
  EXPECT_EQ(val("0." + std::string(330, '0') + "1").value(), 0.0);
}

TEST(Val, NumberBeyondTheDoubleRangeIsAnOverflow) {
  const std::vector<std::string> texts = {
      "1e309", "-1e309", "1E999", "1.7976931348623159e308", "1e99999999999999999999999",
      "0.0001e313", "1" + std::string(309, '0'), std::string(400, '9'),
      "1.79769313486232E+308",  // the largest double as the general form shows it
  };
  for (const auto& t : texts) {
    try {
      val(t);
      ADD_FAILURE() << "no fault for \"" << t << '"';
    } catch (const Fault& f) {
      EXPECT_EQ(f.kind(), FaultKind::Overflow) << '"' << t << '"';
    }
  }
}

// ---------------------------------------------------------------------------
// generalText and str

struct TextCase {
  Num value;
  std::string expected;
};

TEST(GeneralText, FifteenSignificantDigits) {
  const std::vector<TextCase> cases = {
      {Num(), ""}, {0.0, "0"}, {-0.0, "0"},
      // what the sliders and the capture write
      {200 / 100.0, "2"}, {215 / 100.0, "2.15"}, {250 / 100.0, "2.5"}, {400 / 100.0, "4"},
      {150 / 100.0, "1.5"}, {135 / 100.0, "1.35"}, {1020 / 10.0, "102"}, {847 / 10.0, "84.7"},
      {760 / 10.0, "76"}, {761 / 10.0, "76.1"}, {2.2 * 1.9, "4.18"},
      // shortest round-trip digits would show these differently
      {1.8999999999999997, "1.9"}, {0.1 + 0.2, "0.3"}, {4.18 / 2.2, "1.9"}, {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"}, {-2.0 / 3.0, "-0.666666666666667"},
      {-2.5, "-2.5"}, {0.5, "0.5"}, {123.456, "123.456"}, {1e14 + 0.5, "100000000000001"},  // exact tie
      // where the plain form ends and the exponent form begins
      {0.0001, "0.0001"}, {0.000123, "0.000123"}, {0.00001, "1E-05"}, {0.000012345, "1.2345E-05"},
      {-0.00001, "-1E-05"}, {123456789012345.0, "123456789012345"}, {999999999999999.0, "999999999999999"},
      {999999999999999.9, "1E+15"}, {1e15, "1E+15"}, {1234567890123456.0, "1.23456789012346E+15"},
      {1.5e20, "1.5E+20"}, {1e100, "1E+100"}, {-1e-100, "-1E-100"},
      {DBL_MAX, "1.79769313486232E+308"}, {kMinSubnormal, "4.94065645841247E-324"},
      {0.00009999999999999999, "0.0001"},  // rounds up into the plain range
  };
  for (const auto& c : cases) EXPECT_EQ(generalText(c.value), c.expected) << c.value.value();
}

TEST(Str, SignPositionIsBlankForNonNegative) {
  const std::vector<TextCase> cases = {
      {Num(), ""},  {0.0, " 0"},      {-0.0, " 0"},         {2.5, " 2.5"},        {-2.5, "-2.5"},
      {0.5, " 0.5"}, {-0.5, "-0.5"},  {1e20, " 1E+20"},     {-1e-5, "-1E-05"},    {1.8999999999999997, " 1.9"},
  };
  for (const auto& c : cases) EXPECT_EQ(str(c.value), c.expected) << c.value.value();
}

TEST(StrSingle, SevenSignificantDigits) {
  struct Case {
    float value;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {0.0f, " 0"}, {-0.0f, " 0"}, {1.0f, " 1"}, {-2.5f, "-2.5"}, {0.1f, " 0.1"}, {0.3f, " 0.3"},
      {4.18f, " 4.18"}, {1.0f / 3.0f, " 0.3333333"}, {2.0f / 3.0f, " 0.6666667"}, {-2.0f / 3.0f, "-0.6666667"},
      {9999999.0f, " 9999999"}, {1e7f, " 1E+07"}, {12345678.0f, " 1.234568E+07"},
      {16777216.0f, " 1.677722E+07"}, {FLT_MAX, " 3.402823E+38"}, {0.0001f, " 0.0001"}, {1e-5f, " 1E-05"},
      {-1e-10f, "-1E-10"}, {std::numeric_limits<float>::denorm_min(), " 1.401298E-45"},
  };
  for (const auto& c : cases) EXPECT_EQ(strSingle(c.value), c.expected) << c.value;

  // The chart's tick labels, counted in single precision as the frame does.
  for (float i = 0; i <= 6; i += 1) EXPECT_EQ(strSingle(i), " " + std::to_string(static_cast<int>(i)));
  for (float j = 1; j <= 11; j += 1) EXPECT_EQ(strSingle(1000 * j), " " + std::to_string(static_cast<int>(1000 * j)));
}

TEST(GeneralText, NonFiniteValuesAreFaults) {
  // Checked arithmetic never produces them; a value built directly must not
  // slip through as text.
  EXPECT_THROW(generalText(std::numeric_limits<double>::infinity()), Fault);
  EXPECT_THROW(str(-std::numeric_limits<double>::infinity()), Fault);
  EXPECT_THROW(format(std::numeric_limits<double>::quiet_NaN(), "0.00"), Fault);
  EXPECT_THROW(strSingle(std::numeric_limits<float>::infinity()), Fault);
}

// Reading the general text back gives the value rounded to 15 digits, and
// writing that again gives the same text, across the whole double range.
TEST(GeneralText, ReadsBackAsItsFifteenDigitValue) {
  std::mt19937_64 rng(20240611);
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    double x = 0.0;
    const std::uint64_t bits = rng();
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x) || std::fabs(x) > 1.79769313486231e308) continue;
    const std::string text = generalText(x);
    const Num back = val(text);
    EXPECT_EQ(generalText(back), text) << text;
    if (x != 0.0) {
      EXPECT_LE(std::fabs(back.value() - x), std::fabs(x) * 5.1e-15) << text;
    }
    ++checked;
  }
  EXPECT_GT(checked, 19000);
}

// ---------------------------------------------------------------------------
// format

struct FormatCase {
  Num value;
  std::string pattern;
  std::string expected;
};

TEST(Format, RoundsHalfAwayFromZeroOnTheFifteenDigitForm) {
  const std::vector<FormatCase> cases = {
      {Num(), "0.000", ""}, {Num(), "0", ""},
      // slider texts and the capture
      {20 / 100.0, "0.000", "0.200"}, {160 / 100.0, "0.000", "1.600"}, {300 / 100.0, "0.000", "3.000"},
      {84.7 / 1.33, "0.00", "63.68"}, {100 / 1.6, "0.00", "62.50"},
      // decimal halves that are slightly below half in binary still round up
      {0.125, "0.00", "0.13"}, {2.675, "0.00", "2.68"}, {1.005, "0.00", "1.01"}, {-1.005, "0.00", "-1.01"},
      {-0.125, "0.00", "-0.13"}, {99.95, "0.0", "100.0"}, {2.5, "0", "3"}, {-2.5, "0", "-3"},
      {0.5, "0", "1"}, {0.4, "0", "0"}, {1.8999999999999997, "0.000", "1.900"},
      // carries and the smallest places
      {9.9995, "0.000", "10.000"}, {0.0005, "0.000", "0.001"}, {0.0004, "0.000", "0.000"},
      {0.000999, "0.00", "0.00"}, {1e-20, "0.00", "0.00"},
      // negative values keep their sign when they round to zero, negative zero does not have one
      {-0.0004, "0.000", "-0.000"}, {-0.001, "0.00", "-0.00"}, {-0.4, "0", "-0"}, {-0.0, "0.00", "0.00"},
      {0.0, "0.000", "0.000"},
      // large values: digits beyond the fifteenth are zeros
      {1e20, "0.00", "100000000000000000000.00"}, {123456789012345678.0, "0.0", "123456789012346000.0"},
      {1234567.891, "0.00", "1234567.89"}, {4592.5583, "0.000", "4592.558"}, {0.3, "0.000000", "0.300000"},
      {-11.385, "0.00", "-11.39"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(format(c.value, c.pattern), c.expected) << c.value.value() << " with " << c.pattern;
}

TEST(Format, RejectsPatternsItDoesNotKnow) {
  for (const char* pattern : {"", "0.", ".00", "00.00", "#.##", "0,00", "0.0a", "1.00", " 0.00", "0.00 ", "0.00%"}) {
    EXPECT_THROW(format(1.0, pattern), std::invalid_argument) << '"' << pattern << '"';
    EXPECT_THROW(format(Num(), pattern), std::invalid_argument) << '"' << pattern << '"';
  }
}

}  // namespace
}  // namespace diaspring

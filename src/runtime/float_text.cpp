#include "runtime/float_text.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <cmath>

namespace diaspring {
namespace {

void stripZeros(std::string& digits) {
  const std::size_t last = digits.find_last_not_of('0');
  digits.erase(last == std::string::npos ? 1 : last + 1);
}

// The digits and exponent of a positive number written plainly ("0.00123",
// "1250") or in the exponent form ("1.5e+22"): d0.d1... x 10^e.
ExactDecimal parseDecimal(std::string_view text) {
  const std::size_t mark = text.find('e');
  const std::string_view mantissa = text.substr(0, mark);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  std::string digits;
  std::copy_if(mantissa.begin(), mantissa.end(), std::back_inserter(digits), [](char c) { return c != '.'; });
  const std::size_t first = digits.find_first_not_of('0');
  ExactDecimal d;
  d.exponent = static_cast<int>(point) - 1 - static_cast<int>(first);
  if (mark != std::string_view::npos) {
    const std::string_view e = text.substr(mark + 1);
    int value = 0;
    std::from_chars(e.data() + (e[0] == '+' ? 1 : 0), e.data() + e.size(), value);
    d.exponent += value;
  }
  d.digits = digits.substr(first);
  stripZeros(d.digits);
  return d;
}

// 0.<digits> x 10^k read as a Float, rounded to nearest, ties to even
// (fast_float's from_chars: exact for any number of digits, infinity beyond
// the largest value, zero below half the smallest).
template <class Float>
Float readDecimal(std::string_view digits, std::int64_t k) {
  if (k > 311) return std::numeric_limits<Float>::infinity();
  if (k < -330) return 0;
  const std::string text = "0." + std::string(digits) + "e" + std::to_string(k);
  Float value = 0;
  fast_float::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The shortest text that reads back as x: {fmt}'s shortest digits, laid out
// plainly or in the exponent form, whichever is shorter (the plain one on a
// tie); a whole number laid out plainly shows its exact digits.
template <class Float>
std::string formatShortest(Float x) {
  std::string s = std::signbit(x) ? "-" : "";
  const Float magnitude = std::fabs(x);
  if (magnitude == 0) return s += '0';
  const ExactDecimal d = parseDecimal(fmt::format("{}", magnitude));
  const auto n = static_cast<int>(d.digits.size());
  const int e = d.exponent;

  const int absE = e < 0 ? -e : e;
  const int sciLen = n + (n > 1 ? 1 : 0) + 2 + std::max(2, static_cast<int>(std::to_string(absE).size()));
  const int fixedLen = e >= n - 1 ? e + 1 : (e >= 0 ? n + 1 : n + 1 - e);

  if (fixedLen <= sciLen) {
    if (e >= n - 1) return s += fmt::format("{:.0f}", static_cast<double>(magnitude));
    if (e >= 0) {
      s.append(d.digits, 0, static_cast<std::size_t>(e) + 1);
      s += '.';
      s.append(d.digits, static_cast<std::size_t>(e) + 1);
    } else {
      s += "0.";
      s.append(static_cast<std::size_t>(-e - 1), '0');
      s += d.digits;
    }
    return s;
  }
  s += d.digits[0];
  if (n > 1) {
    s += '.';
    s.append(d.digits, 1);
  }
  s += e < 0 ? "e-" : "e+";
  if (absE < 10) s += '0';
  s += std::to_string(absE);
  return s;
}

}  // namespace

// Adds one in the last place; true when a carry lengthened the digits.
bool incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return false;
    }
    *it = '0';
  }
  digits.insert(0, 1, '1');
  return true;
}

// Every double is m x 2^e with at most 767 significant decimal digits in its
// exact value, so 766 decimals after the first digit lose nothing.
ExactDecimal exactDecimal(double x) {
  if (x == 0.0) return ExactDecimal{"0", 0};
  return parseDecimal(fmt::format("{:.766e}", std::fabs(x)));
}

ExactDecimal leadingDigits(double x, int count) {
  if (x == 0.0) return ExactDecimal{"0", 0};
  // {fmt} rounds to the precision it is asked for: asked for two digits
  // more, its first `count` are the exact value's unless the rounding
  // carried back into them, and a carry leaves the two guard digits "00".
  // Only then (or when they are "00" anyway) the exact expansion decides.
  const std::string s = fmt::format("{:.{}e}", std::fabs(x), count + 1);
  const std::size_t mark = s.find('e');
  std::string digits(1, s[0]);
  digits.append(s, 2, mark - 2);
  ExactDecimal d;
  if (digits[static_cast<std::size_t>(count)] == '0' && digits[static_cast<std::size_t>(count) + 1] == '0') {
    d = exactDecimal(x);
    if (d.digits.size() > static_cast<std::size_t>(count)) d.digits.resize(static_cast<std::size_t>(count));
  } else {
    digits.resize(static_cast<std::size_t>(count));
    d.digits = std::move(digits);
    const std::string_view e(s.data() + mark + 1, s.size() - mark - 1);
    std::from_chars(e.data() + (e[0] == '+' ? 1 : 0), e.data() + e.size(), d.exponent);
  }
  stripZeros(d.digits);
  return d;
}

double decimalToDouble(std::string_view digits, std::int64_t k) { return readDecimal<double>(digits, k); }

float decimalToFloat(std::string_view digits, std::int64_t k) { return readDecimal<float>(digits, k); }

std::string shortestText(double x) { return formatShortest(x); }

std::string shortestText(float x) { return formatShortest(x); }

}  // namespace diaspring

#pragma once
// Exact text <-> binary floating-point conversions on fast_float (reading)
// and {fmt} (the shortest and the exact digits): the same characters with
// every C++ library, never depending on the locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace diaspring {

// The exact decimal value of a finite, non-zero |x|: digits d0 d1 d2 ...
// (no trailing zeros) and exponent e, the value being d0.d1d2... x 10^e.
struct ExactDecimal {
  std::string digits;
  int exponent = 0;
};
ExactDecimal exactDecimal(double x);
// The first `count` significant digits of the exact value of a finite,
// non-zero |x|, cut there (not rounded), trailing zeros removed, and its
// exponent: exactDecimal(x) cut to `count` digits, at about a tenth of its
// cost for count ≤ 16.
ExactDecimal leadingDigits(double x, int count);

// The double nearest to 0.<digits> x 10^k (ties to even); digits holds
// decimal digits, the first not zero. Infinity beyond the largest double,
// zero below half the smallest.
double decimalToDouble(std::string_view digits, std::int64_t k);
// The same for a float.
float decimalToFloat(std::string_view digits, std::int64_t k);

// The shortest text that reads back as exactly x, in the plain or the
// exponent form, whichever is shorter (the plain one on a tie): "0.1",
// "1e+22", "-2.5e-07", "123456". x must be finite.
std::string shortestText(double x);
std::string shortestText(float x);

// Adds one unit in the last place of a digit string; a carry out of the first
// digit lengthens it ("999" -> "1000"). Returns true when it lengthened.
bool incrementDigits(std::string& digits);

}  // namespace diaspring

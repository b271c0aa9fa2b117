#include "runtime/convert.h"
#include "runtime/full_width.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <system_error>

#include "runtime/float_text.h"

namespace diaspring {

namespace {

// ---------------------------------------------------------------------------
// Reading

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the text one significant character at a time, stepping over blanks.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) { skipBlanks(); }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }
  void advance() {
    ++pos_;
    skipBlanks();
  }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// Exponents beyond this magnitude are kept at it; any number written with one
// is far outside the double range either way, and the clamp keeps the sums
// below from wrapping.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000'000;

// The largest decimal exponent k for which 0.d1d2... x 10^k can still be a
// finite double (0.17976931348623157 x 10^309), and the smallest for which it
// can still round to a non-zero one (0.247 x 10^-323 is half the smallest
// subnormal, so k = -323 is the last that may give one).
constexpr std::int64_t kMaxExponent = 309;
constexpr std::int64_t kMinExponent = -323;

}  // namespace

bool isWholeNumber(std::string_view text) {
  Cursor in(text);
  if (in.peek() == '+' || in.peek() == '-') in.advance();
  bool anyDigit = false;
  while (isDigit(in.peek())) {
    anyDigit = true;
    in.advance();
  }
  if (in.peek() == '.') {
    in.advance();
    while (isDigit(in.peek())) {
      anyDigit = true;
      in.advance();
    }
  }
  if (!anyDigit) return false;
  if (in.peek() == 'E' || in.peek() == 'e') {
    in.advance();
    if (in.peek() == '+' || in.peek() == '-') in.advance();
    if (!isDigit(in.peek())) return false;
    while (isDigit(in.peek())) in.advance();
  }
  return in.atEnd();
}

Num val(std::string_view text) {
  if (const auto narrowed = narrowFullWidth(text)) return val(*narrowed);
  Cursor in(text);

  bool negative = false;
  if (in.peek() == '+' || in.peek() == '-') {
    negative = in.peek() == '-';
    in.advance();
  }

  // All mantissa digits in order, and how many of them stand before the point.
  std::string digits;
  std::size_t integerDigits = 0;
  while (isDigit(in.peek())) {
    digits.push_back(in.peek());
    in.advance();
  }
  integerDigits = digits.size();
  if (in.peek() == '.') {
    in.advance();
    while (isDigit(in.peek())) {
      digits.push_back(in.peek());
      in.advance();
    }
  }
  if (digits.empty()) return Num(0.0);

  // An exponent letter without digits after it adds nothing ("1e" and "1e+"
  // both read as 1).
  std::int64_t exponent = 0;
  if (in.peek() == 'E' || in.peek() == 'e') {
    in.advance();
    bool negativeExponent = false;
    if (in.peek() == '+' || in.peek() == '-') {
      negativeExponent = in.peek() == '-';
      in.advance();
    }
    while (isDigit(in.peek())) {
      if (exponent < kExponentClamp) exponent = exponent * 10 + (in.peek() - '0');
      in.advance();
    }
    if (negativeExponent) exponent = -exponent;
  }

  // Significant digits only: without leading zeros (each one before the point
  // lowers the magnitude by one place) and without trailing zeros.
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return Num(0.0);
  const std::size_t last = digits.find_last_not_of('0');
  const std::string_view significant = std::string_view(digits).substr(first, last - first + 1);

  // The value is 0.<significant> x 10^k.
  const std::int64_t k = static_cast<std::int64_t>(integerDigits) - static_cast<std::int64_t>(first) + exponent;
  if (k > kMaxExponent) raise(FaultKind::Overflow);
  if (k < kMinExponent) return Num(0.0);

  const double magnitude = decimalToDouble(significant, k);
  if (std::isinf(magnitude)) raise(FaultKind::Overflow);
  return Num(negative ? -magnitude : magnitude);
}

namespace {

// ---------------------------------------------------------------------------
// Writing

// A finite number as sign, significant digits d0 d1 d2 ... and decimal
// exponent e, the value being d0.d1d2... x 10^e. Zero is the digit "0" with
// exponent 0.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

void refuseNonFinite(double x) {
  if (std::isnan(x)) raise(FaultKind::InvalidOperation);
  if (std::isinf(x)) raise(FaultKind::Overflow);
}

// x rounded to `significant` digits, half away from zero, from its exact
// binary value (every double has a finite decimal expansion of at most 767
// significant digits, so nothing is lost before the rounding). Trailing zeros
// are removed.
Decimal roundSignificant(double x, int significant) {
  refuseNonFinite(x);
  Decimal d;
  if (x == 0.0) {  // also negative zero, which shows as zero
    d.digits.push_back('0');
    return d;
  }
  d.negative = x < 0.0;

  // The digit after the kept ones decides, half away from zero.
  ExactDecimal exact = leadingDigits(x, significant + 1);
  const std::string& all = exact.digits;
  int exponent = exact.exponent;

  const auto keep = static_cast<std::size_t>(significant);
  std::string kept = all.substr(0, keep);
  if (all.size() > keep && all[keep] >= '5' && incrementDigits(kept)) {
    kept.pop_back();  // "1000...": one place more, same digit count
    ++exponent;
  }
  const std::size_t lastNonZero = kept.find_last_not_of('0');
  kept.erase(lastNonZero + 1);

  d.digits = std::move(kept);
  d.exponent = exponent;
  return d;
}

// "E+20", "E-05", "E+308".
std::string exponentText(int exponent) {
  std::string s = exponent < 0 ? "E-" : "E+";
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) s += '0';
  std::array<char, 8> buf{};
  const auto end = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude).ptr;
  s.append(buf.data(), end);
  return s;
}

// The general form of a rounded number: plain digits for decimal exponents
// from -4 up to `exponentFrom` - 1, the exponent form outside.
std::string generalDigits(const Decimal& d, int exponentFrom) {
  std::string s;
  if (d.negative) s += '-';
  const std::string& g = d.digits;
  const int e = d.exponent;

  if (e >= exponentFrom || e < -4) {
    s += g[0];
    if (g.size() > 1) {
      s += '.';
      s.append(g, 1);
    }
    s += exponentText(e);
    return s;
  }
  if (e < 0) {
    s += "0.";
    s.append(static_cast<std::size_t>(-e - 1), '0');
    s += g;
    return s;
  }
  const auto integerDigits = static_cast<std::size_t>(e) + 1;
  if (g.size() <= integerDigits) {
    s += g;
    s.append(integerDigits - g.size(), '0');
  } else {
    s.append(g, 0, integerDigits);
    s += '.';
    s.append(g, integerDigits);
  }
  return s;
}

constexpr int kGeneralDigits = 15;
constexpr int kSingleDigits = 7;

// The number of decimals a pattern "0", "0.0", "0.00", ... asks for.
std::size_t patternDecimals(std::string_view pattern) {
  const bool valid = !pattern.empty() && pattern[0] == '0' &&
                     (pattern.size() == 1 ||
                      (pattern.size() >= 3 && pattern[1] == '.' &&
                       pattern.find_first_not_of('0', 2) == std::string_view::npos));
  if (!valid) throw std::invalid_argument("unsupported number pattern \"" + std::string(pattern) + "\"");
  return pattern.size() == 1 ? 0 : pattern.size() - 2;
}

}  // namespace

std::string generalText(Num x) {
  if (!x.isSet()) return {};
  return generalDigits(roundSignificant(x.value(), kGeneralDigits), kGeneralDigits);
}

std::string str(Num x) {
  if (!x.isSet()) return {};
  const Decimal d = roundSignificant(x.value(), kGeneralDigits);
  std::string out(d.negative ? 0 : 1, ' ');  // the sign position
  return out += generalDigits(d, kGeneralDigits);
}

std::string strSingle(float x) {
  const Decimal d = roundSignificant(static_cast<double>(x), kSingleDigits);
  std::string out(d.negative ? 0 : 1, ' ');  // the sign position
  return out += generalDigits(d, kSingleDigits);
}

std::string format(Num x, std::string_view pattern) {
  const std::size_t decimals = patternDecimals(pattern);
  if (!x.isSet()) return {};
  const Decimal d = roundSignificant(x.value(), kGeneralDigits);

  // units: the value in units of the last decimal place, as a digit string.
  // Digit i of d stands for 10^(exponent - i); digits with i < keep survive.
  const std::int64_t keep = static_cast<std::int64_t>(d.exponent) + static_cast<std::int64_t>(decimals) + 1;
  std::string units;
  if (keep > 0) {
    const auto kept = static_cast<std::size_t>(keep);
    if (kept >= d.digits.size()) {
      units = d.digits;
      units.append(kept - d.digits.size(), '0');
    } else {
      units = d.digits.substr(0, kept);
      if (d.digits[kept] >= '5') incrementDigits(units);
    }
  } else if (keep == 0 && d.digits[0] >= '5') {
    units.assign(1, '1');  // 0.0005 with three decimals: half a unit rounds up
  }
  if (units.empty()) units.assign(1, '0');
  if (units.size() < decimals + 1) units.insert(0, decimals + 1 - units.size(), '0');

  std::string s;
  if (d.negative) s += '-';  // kept also when the value rounds to zero
  const std::size_t integerDigits = units.size() - decimals;
  s.append(units, 0, integerDigits);
  if (decimals > 0) {
    s += '.';
    s.append(units, integerDigits);
  }
  return s;
}

}  // namespace diaspring

#include "runtime/float_text.h"
#include "runtime/bit_cast.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace diaspring {
namespace {

// ---------------------------------------------------------------------------
// A non-negative integer of any size: 32-bit limbs, least significant first,
// no leading zero limbs (zero is the empty vector).
class BigInt {
 public:
  BigInt() = default;
  explicit BigInt(std::uint64_t v) {
    while (v != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(v));
      v >>= 32;
    }
  }

  bool isZero() const { return limbs_.empty(); }

  void mulSmall(std::uint32_t m) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t p = static_cast<std::uint64_t>(limb) * m + carry;
      limb = static_cast<std::uint32_t>(p);
      carry = p >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  void addSmall(std::uint32_t a) {
    std::uint64_t carry = a;
    for (std::size_t i = 0; i < limbs_.size() && carry != 0; ++i) {
      const std::uint64_t s = static_cast<std::uint64_t>(limbs_[i]) + carry;
      limbs_[i] = static_cast<std::uint32_t>(s);
      carry = s >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  // Divides in place; returns the remainder.
  std::uint32_t divSmall(std::uint32_t d) {
    std::uint64_t rem = 0;
    for (std::size_t i = limbs_.size(); i-- > 0;) {
      const std::uint64_t cur = (rem << 32) | limbs_[i];
      limbs_[i] = static_cast<std::uint32_t>(cur / d);
      rem = cur % d;
    }
    trim();
    return static_cast<std::uint32_t>(rem);
  }

  void mulPow10(std::int64_t n) {
    for (; n >= 9; n -= 9) mulSmall(1'000'000'000);
    for (; n > 0; --n) mulSmall(10);
  }

  void mulPow5(std::int64_t n) {
    for (; n >= 13; n -= 13) mulSmall(1'220'703'125);  // 5^13
    for (; n > 0; --n) mulSmall(5);
  }

  void shiftLeft(std::int64_t bits) {
    if (isZero() || bits <= 0) return;
    const auto whole = static_cast<std::size_t>(bits / 32);
    const auto part = static_cast<unsigned>(bits % 32);
    if (part != 0) {
      std::uint32_t carry = 0;
      for (auto& limb : limbs_) {
        const std::uint32_t next = limb >> (32 - part);
        limb = (limb << part) | carry;
        carry = next;
      }
      if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), whole, 0U);
  }

  std::int64_t bitLength() const {
    if (isZero()) return 0;
    return static_cast<std::int64_t>(limbs_.size() - 1) * 32 + std::bit_width(limbs_.back());
  }

  friend int compare(const BigInt& a, const BigInt& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    return 0;
  }

  // *this -= b, where b <= *this.
  void subtract(const BigInt& b) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t d = static_cast<std::int64_t>(limbs_[i]) - borrow - (i < b.limbs_.size() ? b.limbs_[i] : 0);
      borrow = d < 0 ? 1 : 0;
      if (d < 0) d += std::int64_t{1} << 32;
      limbs_[i] = static_cast<std::uint32_t>(d);
    }
    trim();
  }

  std::string decimal() const {
    BigInt n = *this;
    std::vector<std::uint32_t> chunks;  // base 10^9, least significant first
    while (!n.isZero()) chunks.push_back(n.divSmall(1'000'000'000));
    if (chunks.empty()) return "0";
    std::string s = std::to_string(chunks.back());
    for (std::size_t i = chunks.size() - 1; i-- > 0;) {
      const std::string part = std::to_string(chunks[i]);
      s.append(9 - part.size(), '0');
      s += part;
    }
    return s;
  }

 private:
  void trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  std::vector<std::uint32_t> limbs_;
};

// A binary format: significand bits (with the hidden one), the exponent of
// the smallest subnormal's unit, and the largest exponent e for which
// q x 2^e with a full significand q is still finite.
struct Format {
  int significandBits;
  int minExponent;
  int maxExponent;
};
constexpr Format kDouble{53, -1074, 971};
constexpr Format kFloat{24, -149, 104};

// Digits beyond this many can only decide a rounding as "something more":
// every double or float lies exactly halfway between two neighbours at most
// 768 significant digits long.
constexpr std::size_t kMaxSignificant = 800;

// 0.<digits> x 10^k rounded to the nearest q x 2^e (ties to even); returns
// the value as a double (exact also for a float's result).
double roundToBinary(std::string_view digits, std::int64_t k, const Format& f) {
  if (k > 311) return HUGE_VAL;
  if (k < -330) return 0.0;
  BigInt n;
  const bool cut = digits.size() > kMaxSignificant;
  const std::string_view kept = cut ? digits.substr(0, kMaxSignificant) : digits;
  for (char c : kept) {
    n.mulSmall(10);
    n.addSmall(static_cast<std::uint32_t>(c - '0'));
  }
  auto count = static_cast<std::int64_t>(kept.size());
  if (cut) {  // the digits left off are not all zero: a sticky last digit
    n.mulSmall(10);
    n.addSmall(1);
    ++count;
  }
  if (n.isZero()) return 0.0;

  // Clinger's fast path (Clinger, "How to read floating point numbers
  // accurately", PLDI 1990): up to 15 digits are an exact double, as is
  // 10^p for p <= 22, and one multiplication or division of exact values
  // rounds correctly. Most texts a user types take this path.
  const std::int64_t scale10 = k - count;
  if (f.significandBits == kDouble.significandBits && !cut && count <= 15 && scale10 >= -22 && scale10 <= 22) {
    static constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t whole = 0;
    for (char c : kept) whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    const auto exact = static_cast<double>(whole);
    return scale10 >= 0 ? exact * kPow10[scale10] : exact / kPow10[-scale10];
  }

  // value = n / m x 2^e
  BigInt m(1);
  if (scale10 >= 0) n.mulPow10(scale10);
  else m.mulPow10(-scale10);

  std::int64_t e = n.bitLength() - m.bitLength() - f.significandBits;
  if (e >= 0) m.shiftLeft(e);
  else n.shiftLeft(-e);
  // Now 2^(bits-1) < n/m < 2^(bits+1); bring the quotient into [2^(bits-1), 2^bits).
  BigInt top = m;
  top.shiftLeft(f.significandBits - 1);
  if (compare(n, top) < 0) {
    n.shiftLeft(1);
    --e;
  } else {
    BigInt limit = top;
    limit.shiftLeft(1);
    if (compare(n, limit) >= 0) {
      m.shiftLeft(1);
      top.shiftLeft(1);
      ++e;
    }
  }
  if (e < f.minExponent) {  // subnormal: fewer significant bits
    const std::int64_t shift = f.minExponent - e;
    if (shift > f.significandBits + 1) return 0.0;  // below half the smallest subnormal
    m.shiftLeft(shift);
    top.shiftLeft(shift);
    e = f.minExponent;
  }

  // Long division, one quotient bit at a time; n ends as twice the remainder
  // (scaled like top), which decides the rounding.
  std::uint64_t q = 0;
  for (int bit = f.significandBits - 1; bit >= 0; --bit) {
    if (compare(n, top) >= 0) {
      n.subtract(top);
      q |= std::uint64_t{1} << bit;
    }
    n.shiftLeft(1);
  }
  const int half = compare(n, top);
  if (half > 0 || (half == 0 && (q & 1) != 0)) ++q;
  if (q == std::uint64_t{1} << f.significandBits) {
    q >>= 1;
    ++e;
  }
  if (e > f.maxExponent) return HUGE_VAL;
  return std::ldexp(static_cast<double>(q), static_cast<int>(e));
}

void stripZeros(std::string& digits) {
  const std::size_t last = digits.find_last_not_of('0');
  digits.erase(last == std::string::npos ? 1 : last + 1);
}

// The exact decimal value of m x 2^e2 (m > 0).
ExactDecimal exactDyadic(std::uint64_t m, int e2) {
  const int zeros = std::countr_zero(m);
  m >>= zeros;
  e2 += zeros;
  ExactDecimal d;
  BigInt n(m);
  if (e2 >= 0) {
    n.shiftLeft(e2);
    d.digits = n.decimal();
    d.exponent = static_cast<int>(d.digits.size()) - 1;
  } else {  // m x 2^e2 = m x 5^-e2 x 10^e2
    n.mulPow5(-e2);
    d.digits = n.decimal();
    d.exponent = static_cast<int>(d.digits.size()) - 1 + e2;
  }
  stripZeros(d.digits);
  return d;
}

// Orders two positive decimals.
int compareDecimal(const ExactDecimal& a, const ExactDecimal& b) {
  if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
  const std::size_t n = std::max(a.digits.size(), b.digits.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char ca = i < a.digits.size() ? a.digits[i] : '0';
    const char cb = i < b.digits.size() ? b.digits[i] : '0';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

// The shortest digits d0.d1... x 10^e that round to m x 2^e2 (a finite
// positive value whose format has `bits` significand bits and whose
// smallest normal exponent is minNormal); of two such, the nearer (the
// even one when both are as near). Such digits lie within the interval
// halfway to each neighbour, its ends included when m is even.
ExactDecimal shortestDigits(std::uint64_t m, int e2, int bits, int minNormal) {
  const ExactDecimal exact = exactDyadic(m, e2);
  const bool lowerCloser = m == (std::uint64_t{1} << (bits - 1)) && e2 > minNormal;
  const ExactDecimal low = lowerCloser ? exactDyadic(4 * m - 1, e2 - 2) : exactDyadic(2 * m - 1, e2 - 1);
  const ExactDecimal high = exactDyadic(2 * m + 1, e2 - 1);
  const bool endsIn = m % 2 == 0;
  for (std::size_t len = 1; len < exact.digits.size(); ++len) {
    ExactDecimal lo{exact.digits.substr(0, len), exact.exponent};
    ExactDecimal hi = lo;
    if (incrementDigits(hi.digits)) {
      hi.digits.pop_back();
      ++hi.exponent;
    }
    const int cl = compareDecimal(lo, low);
    const int ch = compareDecimal(hi, high);
    const bool loOk = cl > 0 || (cl == 0 && endsIn);
    const bool hiOk = ch < 0 || (ch == 0 && endsIn);
    if (!loOk && !hiOk) continue;
    bool takeHi = hiOk;
    if (loOk && hiOk) {
      const std::string_view rest = std::string_view(exact.digits).substr(len);
      if (rest[0] != '5') takeHi = rest[0] > '5';
      else if (rest.size() > 1) takeHi = true;
      else takeHi = (lo.digits.back() - '0') % 2 != 0;
    }
    ExactDecimal& chosen = takeHi ? hi : lo;
    stripZeros(chosen.digits);
    return chosen;
  }
  return exact;
}

std::string formatShortest(bool negative, std::uint64_t m, int e2, int bits, int minNormal) {
  std::string s = negative ? "-" : "";
  if (m == 0) return s += '0';
  const ExactDecimal d = shortestDigits(m, e2, bits, minNormal);
  const auto n = static_cast<int>(d.digits.size());
  const int e = d.exponent;

  const int absE = e < 0 ? -e : e;
  const int sciLen = n + (n > 1 ? 1 : 0) + 2 + std::max(2, static_cast<int>(std::to_string(absE).size()));
  const int fixedLen = e >= n - 1 ? e + 1 : (e >= 0 ? n + 1 : n + 1 - e);

  if (fixedLen <= sciLen) {
    if (e >= n - 1) {
      // A whole number: its exact digits, which the shortest ones may round.
      const ExactDecimal exact = exactDyadic(m, e2);
      s += exact.digits;
      s.append(static_cast<std::size_t>(exact.exponent + 1) - exact.digits.size(), '0');
    } else if (e >= 0) {
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

ExactDecimal exactDecimal(double x) {
  const std::uint64_t bits = bitCast<std::uint64_t>(x);
  const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0 && fraction == 0) return ExactDecimal{"0", 0};
  if (biased == 0) return exactDyadic(fraction, -1074);
  return exactDyadic(fraction | (std::uint64_t{1} << 52), biased - 1075);
}

double decimalToDouble(std::string_view digits, std::int64_t k) { return roundToBinary(digits, k, kDouble); }

float decimalToFloat(std::string_view digits, std::int64_t k) {
  const double v = roundToBinary(digits, k, kFloat);
  return std::isinf(v) ? HUGE_VALF : static_cast<float>(v);
}

std::string shortestText(double x) {
  const std::uint64_t bits = bitCast<std::uint64_t>(x);
  const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) return formatShortest(std::signbit(x), fraction, -1074, 53, -1074);
  return formatShortest(std::signbit(x), fraction | (std::uint64_t{1} << 52), biased - 1075, 53, -1074);
}

std::string shortestText(float x) {
  const std::uint32_t bits = bitCast<std::uint32_t>(x);
  const auto biased = static_cast<int>((bits >> 23) & 0xff);
  const std::uint32_t fraction = bits & ((1U << 23) - 1);
  if (biased == 0) return formatShortest(std::signbit(x), fraction, -149, 24, -149);
  return formatShortest(std::signbit(x), fraction | (1U << 23), biased - 150, 24, -149);
}

}  // namespace diaspring

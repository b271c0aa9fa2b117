#pragma once
// Num: a double-precision design value that may be unset, with checked
// arithmetic. An unset value reads as 0 in arithmetic and is shown as the
// empty text; any result of arithmetic is set. Every operation that would
// leave the double range, divide by zero or take the logarithm of a number
// not above zero raises a Fault instead of producing inf or NaN.

#include <cmath>
#include <compare>
#include <limits>

#include "runtime/fault.h"
#include "runtime/portable_log.h"

namespace diaspring {

class Num {
 public:
  constexpr Num() = default;  // unset
  constexpr Num(double v) : v_(v), set_(true) {}  // NOLINT(google-explicit-constructor)

  constexpr double value() const { return v_; }
  constexpr bool isSet() const { return set_; }

  friend Num operator+(Num a, Num b) { return checked(a.v_ + b.v_); }
  friend Num operator-(Num a, Num b) { return checked(a.v_ - b.v_); }
  friend Num operator*(Num a, Num b) { return checked(a.v_ * b.v_); }
  friend Num operator/(Num a, Num b) {
    if (b.v_ == 0.0) raise(a.v_ == 0.0 ? FaultKind::InvalidOperation : FaultKind::DivisionByZero);
    return checked(a.v_ / b.v_);
  }
  friend Num operator-(Num a) { return Num(-a.v_); }

  friend bool operator==(Num a, Num b) { return a.v_ == b.v_; }
  friend std::partial_ordering operator<=>(Num a, Num b) { return a.v_ <=> b.v_; }

 private:
  static Num checked(double r) {
    if (!std::isfinite(r)) raise(FaultKind::Overflow);
    return Num(r);
  }

  double v_ = 0.0;
  bool set_ = false;
};

// x raised to the integer power 2, formed as the product x·x.
inline Num squared(Num x) { return x * x; }

// Natural logarithm; the argument must be above zero.
inline Num ln(Num x) {
  if (!(x.value() > 0.0)) raise(FaultKind::InvalidOperation);
  return Num(portableLog(x.value()));
}

inline Num abs(Num x) { return Num(std::fabs(x.value())); }

// A value handed to the chart: rounded to single precision; beyond the
// single range it is an overflow. The limit is the midpoint between the
// largest float and the next power of two, which rounds (to even) past it.
inline float single(Num x) {
  constexpr double kSingleLimit = 0x1.ffffffp127;
  if (!(std::fabs(x.value()) < kSingleLimit)) raise(FaultKind::Overflow);
  return static_cast<float>(x.value());
}

}  // namespace diaspring

#pragma once
// The natural logarithm the whole core uses: one algorithm, compiled without
// contraction, so every platform (desktop or browser) gives the same bits.
// With it the few other elementary functions the statistics need (the
// exponential, the complementary error function, the sine and cosine of a
// turn's fraction), each its own algorithm of plain arithmetic for the same
// reason: the platform's libraries differ in their last bits.

namespace diaspring {

// ln x: -infinity for zero, NaN below zero or for NaN, +infinity for +infinity.
double portableLog(double x);

// e^x within 1 ULP: +infinity above 709.78, 0 below −745.13, NaN for NaN.
double portableExp(double x);

// erfc x = 1 − erf x, with a relative error below 1.2·10⁻⁷ everywhere.
double portableErfc(double x);

// Φ(x), the standard normal distribution function, from portableErfc.
double normalCdf(double x);

// cos(2π u) and sin(2π u) for u in [0, 1], within about 2 ULP of the
// rounded value (absolute error below 10⁻¹⁶).
struct CosSin {
  double cos, sin;
};
CosSin cosSinOfTurn(double u);

}  // namespace diaspring

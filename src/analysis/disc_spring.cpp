#include "analysis/disc_spring.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace diaspring {

std::string discSpringProblem(const DiscSpring& p) {
  for (double v : {p.De, p.Di, p.t, p.h0, p.E, p.mu})
    if (!std::isfinite(v)) return "every dimension must be a finite number";
  if (!(p.Di > 0)) return "Di must be above 0";
  if (!(p.De > p.Di)) return "De must be larger than Di";
  // K1's denominator (d+1)/(d-1) - 2/ln d is a difference of two terms near
  // 2/(d-1) that cancel to about (d-1)/6 (expand 1/ln(1+e) = 1/e + 1/2 -
  // e/12 + ...): its relative rounding error is some 12 * 2^-52 / (d-1)^2,
  // above 1e-6 once d - 1 < 5e-5, and all precision is gone near d - 1 =
  // 1e-7. Closer ratios give numbers that mean nothing.
  if (p.De / p.Di < kMinDiscRatio) return "De/Di must be at least 1.0001 (closer to 1 the formulas lose their precision)";
  if (!(p.t > 0)) return "t must be above 0";
  if (p.h0 < 0) return "h0 must not be negative";
  if (!(p.E > 0)) return "E must be above 0";
  if (!(p.mu >= 0 && p.mu < 1)) return "mu must lie in 0 ... 1 (1 excluded)";
  return {};
}

std::string discSpringWarning(const DiscSpring& p) {
  const double d = p.De / p.Di;
  if (d >= kDiscRatioLow && d <= kDiscRatioHigh) return {};
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%.4g", d);
  return std::string("De/Di = ") + ratio +
         " lies outside 1.5 ... 3.5, far from the De/Di of about 2 of the springs the equations of DIN 2092 "
         "are made for (the series A, B and C of DIN EN 16983 have De/Di 1.9 ... 2.0): treat the results as "
         "an estimate";
}

DiscFactors discFactors(double De, double Di) {
  constexpr double pi = std::numbers::pi;
  DiscFactors f;
  f.delta = De / Di;
  const double d = f.delta;
  const double lnd = std::log(d);
  f.K1 = (1 / pi) * ((d - 1) / d) * ((d - 1) / d) / ((d + 1) / (d - 1) - 2 / lnd);
  f.K2 = (6 / pi) * ((d - 1) / lnd - 1) / lnd;
  f.K3 = (3 / pi) * (d - 1) / lnd;
  return f;
}

DiscState discSpringAt(const DiscSpring& p, const DiscFactors& f, double s) {
  const double A = 4 * p.E / (1 - p.mu * p.mu) * (p.t * p.t) / (f.K1 * p.De * p.De) * (s / p.t);
  const double Z = p.h0 / p.t - s / (2 * p.t);
  DiscState r;
  r.F = A * p.t * p.t * ((p.h0 / p.t - s / p.t) * Z + 1);
  r.sigmaOM = -A * 3 / std::numbers::pi;
  r.sigmaI = -A * (f.K2 * Z + f.K3);
  r.sigmaII = -A * (f.K2 * Z - f.K3);
  r.sigmaIII = -(A / f.delta) * ((f.K2 - 2 * f.K3) * Z - f.K3);
  r.sigmaIV = -(A / f.delta) * ((f.K2 - 2 * f.K3) * Z + f.K3);
  return r;
}

DiscState discSpringAt(const DiscSpring& p, double s) { return discSpringAt(p, discFactors(p.De, p.Di), s); }

}  // namespace diaspring

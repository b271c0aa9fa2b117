#include "analysis/disc_spring.h"
#include "runtime/portable_log.h"

#include <cmath>
#include <numbers>

namespace diaspring {

std::string discSpringProblem(const DiscSpring& p) {
  for (double v : {p.De, p.Di, p.t, p.h0, p.E, p.mu})
    if (!std::isfinite(v)) return "every dimension must be a finite number";
  if (!(p.Di > 0)) return "Di must be above 0";
  if (!(p.De > p.Di)) return "De must be larger than Di";
  if (!(p.t > 0)) return "t must be above 0";
  if (p.h0 < 0) return "h0 must not be negative";
  if (!(p.E > 0)) return "E must be above 0";
  if (!(p.mu >= 0 && p.mu < 1)) return "mu must lie in 0 ... 1 (1 excluded)";
  return {};
}

DiscFactors discFactors(double De, double Di) {
  constexpr double pi = std::numbers::pi;
  DiscFactors f;
  f.delta = De / Di;
  const double d = f.delta;
  const double lnd = portableLog(d);
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

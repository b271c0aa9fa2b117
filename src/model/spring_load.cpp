#include <cmath>

#include "model/spring_design.h"
#include "runtime/portable_log.h"

namespace diaspring {
namespace {

// ln(2.718282) = 1.0000000631063886...: NaturalLog divides by this computed
// value, not by 1.
const double kLnBase = portableLog(kLogBase);

bool usable(double v) { return std::isfinite(v); }
bool usableDivisor(double v) { return std::isfinite(v) && v != 0.0; }

}  // namespace

Num NaturalLog(Num x) { return ln(x) / Num(kLnBase); }

namespace detail {

// The load law step by step with checked arithmetic: each term is stored the
// moment it is formed, and the first operation that faults raises it, so
// the terms formed before a fault stay written.
Num SpringLoadChecked(SpringDesign& d, Num lambda1) {
  d.elasticTerm = (((Num(kLawPi) * d.E) * d.h) * lambda1) / (6 * (1 - squared(d.mu)));
  d.logRatio = NaturalLog(d.R / d.r);
  d.geometryTerm = d.logRatio / squared(d.R1 - d.r1);
  const Num leverRatio = (d.R - d.r) / (d.R1 - d.r1);
  d.heightTerm1 = d.H - lambda1 * leverRatio;
  d.heightTerm2 = d.H - (0.5 * lambda1) * leverRatio;
  d.shapeTerm = d.heightTerm1 * d.heightTerm2 + squared(d.h);
  return (d.elasticTerm * d.geometryTerm) * d.shapeTerm;
}

}  // namespace detail

// The same operations in the same order on plain doubles, which is about
// twice as fast; it stores nothing until it has seen that no operation
// faulted, and otherwise leaves the evaluation to the checked steps, which
// raise the fault where it first occurs. A result that is inf or NaN shows
// up in a stored term, the result or one of the divisors checked below
// (a division by an overflowed value is the only way to lose one).
Num SpringLoad(SpringDesign& d, Num lambda1) {
  const double l = lambda1.value();
  const double E = d.E.value(), h = d.h.value(), mu = d.mu.value(), H = d.H.value();
  const double R = d.R.value(), r = d.r.value(), R1 = d.R1.value(), r1 = d.r1.value();

  const double elasticDivisor = 6 * (1 - mu * mu);
  const double elastic = (((kLawPi * E) * h) * l) / elasticDivisor;
  const double radiusRatio = R / r;
  const double logRatio = portableLog(radiusRatio) / kLnBase;
  const double span = R1 - r1;
  const double spanSquared = span * span;
  const double geometry = logRatio / spanSquared;
  const double leverRatio = (R - r) / span;
  const double height1 = H - l * leverRatio;
  const double height2 = H - (0.5 * l) * leverRatio;
  const double shape = height1 * height2 + h * h;
  const double load = (elastic * geometry) * shape;

  const bool clean = usableDivisor(elasticDivisor) && usable(radiusRatio) && radiusRatio > 0.0 &&
                     usableDivisor(spanSquared) && usable(elastic) && usable(logRatio) && usable(geometry) &&
                     usable(leverRatio) && usable(height1) && usable(height2) && usable(shape) && usable(load);
  if (!clean) return detail::SpringLoadChecked(d, lambda1);

  d.elasticTerm = elastic;
  d.logRatio = logRatio;
  d.geometryTerm = geometry;
  d.heightTerm1 = height1;
  d.heightTerm2 = height2;
  d.shapeTerm = shape;
  return load;
}

}  // namespace diaspring

#include "model/spring_design.h"

#include <cmath>

namespace diaspring {

Num NaturalLog(Num x) {
  // The divisor is the computed logarithm of the base, 1.0000000631063886...
  static const Num kLnBase = ln(Num(kLogBase));
  return ln(x) / kLnBase;
}

Num SpringLoad(SpringDesign& d, Num lambda1) {
  d.elasticTerm = (((Num(kLawPi) * d.E) * d.h) * lambda1) / (6 * (1 - squared(d.mu)));
  d.logRatio = NaturalLog(d.R / d.r);
  d.geometryTerm = d.logRatio / squared(d.R1 - d.r1);
  d.heightTerm1 = d.H - lambda1 * ((d.R - d.r) / (d.R1 - d.r1));
  d.heightTerm2 = d.H - (0.5 * lambda1) * ((d.R - d.r) / (d.R1 - d.r1));
  d.shapeTerm = d.heightTerm1 * d.heightTerm2 + squared(d.h);
  return (d.elasticTerm * d.geometryTerm) * d.shapeTerm;
}

}  // namespace diaspring

#include "chart/nice_step.h"

#include <cmath>
#include <initializer_list>

namespace diaspring {

double niceStep(double span, int parts, double slack) {
  if (!(span > 0) || !std::isfinite(span)) return 1;
  const double raw = span / parts;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (raw <= m * power * slack) return m * power;
  return 10 * power;
}

}  // namespace diaspring

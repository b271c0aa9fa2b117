#pragma once
// The step between the ticks of a chart's axis.

namespace diaspring {

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about
// `parts` parts: the least such step at or above span / parts. A step up to
// the factor `slack` below span / parts counts as reaching it (1.0000001
// keeps a share that rounding left a hair above a round step on that
// step). A span that is not a positive number gets the step 1.
double niceStep(double span, int parts, double slack = 1.0);

}  // namespace diaspring

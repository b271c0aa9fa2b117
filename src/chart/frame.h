#pragma once
// The chart of the characteristic: its coordinate frame and the traced curve.
// x is the large-end deflection in mm (-1.5 at the left edge, 8 at the
// right), y the large-end load in N (14000 at the top, -1000 at the bottom).

#include "chart/surface.h"
#include "model/spring_design.h"

namespace diaspring {

// Coordinates, the two axes with arrowheads and titles, the blue ticks of
// both axes with their values. Fixed values only: it cannot fault.
void DrawChartFrame(Surface& chart);

// The curve F1(lambda1) as red points at lambda1 = 0, 0.001, ... up to 10:
// the running deflection accumulates 0.001 in double precision, so the last
// of the 10,001 points lies at 9.999999999999897.
void TraceCurve(SpringDesign& d, Surface& chart);

}  // namespace diaspring

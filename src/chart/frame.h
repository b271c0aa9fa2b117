#pragma once
// The chart of the characteristic: its coordinate frame (the curve is traced
// by model/points.h). x is the large-end deflection in mm (-1.5 at the left
// edge, 8 at the right), y the large-end load in N (14000 at the top, -1000
// at the bottom).

#include "chart/surface.h"

namespace diaspring {

// Coordinates, the two axes with arrowheads and titles, the blue ticks of
// both axes with their values. Fixed values only: it cannot fault.
void DrawChartFrame(Surface& chart);

}  // namespace diaspring

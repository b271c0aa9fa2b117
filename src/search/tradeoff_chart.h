#pragma once
// The chart of the two objectives' trade-off: each design of a search as a
// cross at (wearRise in %, releaseForceMax in N), the front joined by a
// thin line, one design picked out in red. Drawn on any Surface, so the
// dialog shows it through the same display list and painter as the
// window's chart.

#include <cstddef>
#include <optional>
#include <span>

#include "chart/surface.h"

namespace diaspring::search {

struct TradeOffPoint {
  double wearRise = 0;         // as a fraction; shown in %
  double releaseForceMax = 0;  // N
};

// Clears the surface and draws the axes with ticks and titles and the
// points (in the given order; the line joins them in that order).
void drawTradeOff(Surface& chart, std::span<const TradeOffPoint> points, std::optional<std::size_t> picked = {});

// A tick step of 1, 2 or 5 times a power of ten giving about `count` steps
// over `span`.
double niceStep(double span, int count);

}  // namespace diaspring::search

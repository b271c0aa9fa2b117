#pragma once
// The chart of the objectives' trade-off: each design of a search as a
// cross at (wearRise in %, releaseForceMax in N), coloured by a third
// objective (the stress σImax) from dark blue at its least to orange at its
// largest, with the scale as a key; the front joined by a thin line, one
// design picked out in red. Drawn on any Surface, so the
// dialog shows it through the same display list and painter as the
// window's chart.

#include <cstddef>
#include <optional>
#include <span>

#include "chart/nice_step.h"
#include "chart/surface.h"

namespace diaspring::search {

struct TradeOffPoint {
  double wearRise = 0;         // as a fraction; shown in %
  double releaseForceMax = 0;  // N
  std::optional<double> stress;  // σImax, MPa: the crosses' colour (none: all dark blue)
};

// The colour of a cross at `t` of the way from the least stress (0) to the
// largest (1).
Color rampColor(double t);

// Clears the surface and draws the axes with ticks and titles and the
// points (in the given order; the line joins them in that order).
void drawTradeOff(Surface& chart, std::span<const TradeOffPoint> points, std::optional<std::size_t> picked = {});

}  // namespace diaspring::search

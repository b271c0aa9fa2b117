#pragma once
// The chart's fixed visible area: the rectangle its coordinate system maps
// onto the chart. Every painter clips to it, so nothing drawn wholly outside
// it ever shows.

namespace diaspring {

struct ChartArea {
  // (left, top) and (right, bottom) in chart coordinates, as scale() takes them.
  float left, top, right, bottom;

  // Whether any part of the segment may show: its bounding box meets the
  // rectangle grown on every side by a hundredth of its width and height,
  // more than half the widest pen the chart draws with, so that a line lying
  // just outside an edge but painted across it still counts. Never false for
  // a segment of which a pixel shows.
  constexpr bool reaches(float x1, float y1, float x2, float y2) const {
    const float mx = (right - left) / 100.0f;
    const float my = (top - bottom) / 100.0f;
    const auto lo = [](float a, float b) { return a < b ? a : b; };
    const auto hi = [](float a, float b) { return a < b ? b : a; };
    return hi(x1, x2) >= left - mx && lo(x1, x2) <= right + mx && hi(y1, y2) >= bottom - my &&
           lo(y1, y2) <= top + my;
  }
};

// Deflection -1.5 mm at the left edge to 8 mm at the right, load 14000 N at
// the top to -1000 N at the bottom.
inline constexpr ChartArea kChartArea{-1.5f, 14000.0f, 8.0f, -1000.0f};

}  // namespace diaspring

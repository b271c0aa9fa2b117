#pragma once
// The two charts of the strength and release analysis, drawn on any Surface
// (a DisplayList for the window, the files and the design sheet), each
// scaled to its data:
//  - the stresses σI ... σIV and σOM against λ1 from 0 to beyond λ1C, the
//    six points marked, the permissible stress ±[σ] as lines;
//  - the release force F2 against the release travel λ2 for the new and the
//    worn lining, their largest forces marked.

#include "analysis/spring_analysis.h"
#include "chart/nice_step.h"
#include "chart/surface.h"

namespace diaspring {

// The data window of a chart: x from x0 to x1, y from y0 to y1 (the plot
// area); the chart's Scale adds margins for the axes' labels around it.
struct ChartWindow {
  double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
};

ChartWindow drawStressChart(Surface& chart, const SpringModel& model, const SpringAnalysis& analysis);
ChartWindow drawReleaseChart(Surface& chart, const SpringModel& model, const SpringAnalysis& analysis);

}  // namespace diaspring

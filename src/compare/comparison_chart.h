#pragma once
// The comparison chart: the curves of several designs, measured curves and
// the production-scatter band of the current design, on axes that fit what
// is shown, with nice ticks, a grid and a legend. Every curve has its own
// colour from a palette that stays distinct for colour-blind readers
// (Okabe & Ito, "Color Universal Design", 2008) and its own line pattern,
// so the chart also reads in black-and-white print. Drawn on any Surface:
// the window, PNG, SVG, PDF and the design sheet show the same operations.

#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_charts.h"
#include "chart/surface.h"
#include "compare/design_curve.h"
#include "compare/measured_curve.h"

namespace diaspring::compare {

inline constexpr int kMaxCompared = 8;  // designs and measured curves together

struct CurveStyle {
  Color color;
  std::vector<float> dashes;  // on, off, on, off ... in hundredths of the plot's width; empty: solid
  const char* name;           // "solid", "dashed" ...
};
// The style of the i-th entry (cycling after kMaxCompared).
const CurveStyle& curveStyle(int index);

struct ShownDesign {
  DesignCurve curve;
  int style = 0;
};
struct ShownMeasured {
  MeasuredCurve curve;
  int style = 0;
};
// The scatter band over grid: worst case and ±3σ of the Monte Carlo (the
// σ rows empty when the Monte Carlo has no σ: fewer than two springs).
struct ShownBand {
  std::vector<double> grid, worstLower, worstUpper, sigmaLower, sigmaUpper;
};

struct ComparisonScene {
  std::vector<ShownDesign> designs;
  std::vector<ShownMeasured> measured;
  std::optional<ShownBand> band;
};

// The data window and the chart's Scale (the whole drawing's corners), so a
// front end can turn a position on the drawing into λ1.
struct ComparisonFrame {
  ChartWindow data;
  float left = 0, top = 0, right = 1, bottom = 0;
  double lambdaAt(double fractionOfWidth) const { return left + fractionOfWidth * (right - left); }
};

// The largest |λ1| or |F1| the chart draws. Its surface works in single
// precision (up to about 3.4E+38); a point beyond this, or not a number, is
// left out of the chart and its window.
inline constexpr double kMaxDrawn = 1e30;

ComparisonFrame drawComparison(Surface& chart, const ComparisonScene& scene);

// The shown curves (by name; "the scatter band" for the band) that have
// points the chart leaves out, so that a front end can say what is missing.
std::vector<std::string> undrawable(const ComparisonScene& scene);

// F1 of every shown curve at λ1 (designs by their law, measured curves on
// their loading branch; NaN outside it), in the scene's order.
struct Reading {
  std::string name;
  double F1 = NAN;
};
std::vector<Reading> readoutAt(const ComparisonScene& scene, double lambda1);

}  // namespace diaspring::compare

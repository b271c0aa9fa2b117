#pragma once
// One comparison as the window, the headless front end and the design sheet
// show it: the current design and the designs beside it, measured curves
// against the current design, and the production scatter of the current
// design.

#include <cstdint>
#include <optional>
#include <vector>

#include "compare/calibration.h"
#include "compare/comparison_chart.h"
#include "compare/production_yield.h"
#include "compare/scatter.h"

namespace diaspring::compare {

inline constexpr int kBandSteps = 120;

struct ComparisonInput {
  std::vector<DesignCurve> designs;  // the first is the current design
  std::vector<MeasuredCurve> measured;
  bool scatter = true;  // whether to compute the production scatter
  Tolerances tolerances;
  int samples = kDefaultSamples;
  std::uint64_t seed = kDefaultSeed;
  unsigned threads = 0;
  // The production yield's clamp-load band: the user's, or (none) the
  // standard's for the current design's thickness; and the analysis inputs
  // its strength requirements use (none: left out).
  std::optional<LoadBand> band;
  std::optional<AnalysisParams> strength;
};

struct ComparisonResult {
  std::vector<MeasuredComparison> measured;  // against the current design, in the input's order
  // The scatter of the current design, when asked for, the design has a
  // curve and the tolerances keep every spring possible (else `impossible`).
  bool hasScatter = false;
  std::optional<ToleranceLimit> impossible;
  std::vector<double> grid;
  WorstCase worst;
  MonteCarlo monteCarlo;
  Sensitivity sensitivity;
  ProductionYield production;  // with the scatter, from the same samples' deviates
};

ComparisonResult runComparison(const ComparisonInput& input);

// The scene of the chart: every design and measured curve in its own style
// (in the input's order), the band when there is one.
ComparisonScene sceneOf(const ComparisonInput& input, const ComparisonResult& result);

}  // namespace diaspring::compare

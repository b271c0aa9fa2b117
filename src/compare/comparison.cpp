#include "compare/comparison.h"

namespace diaspring::compare {

ComparisonResult runComparison(const ComparisonInput& in) {
  ComparisonResult out;
  if (in.designs.empty()) return out;
  const DesignCurve& current = in.designs.front();
  for (const MeasuredCurve& m : in.measured) out.measured.push_back(compareMeasured(current, m));
  if (in.scatter && current.ok()) out.impossible = impossibleTolerance(current, in.tolerances);
  if (in.scatter && current.ok() && !out.impossible) {
    out.hasScatter = true;
    out.grid = bandGrid(current, kBandSteps);
    out.worst = worstCase(current, in.tolerances, out.grid);
    out.monteCarlo = monteCarlo(current, in.tolerances, out.grid, in.samples, in.seed, in.threads);
    out.sensitivity = sensitivities(current);
    out.production = productionYield(current, in.tolerances, in.band ? *in.band : standardLoadBand(current.g.h),
                                     in.strength ? &*in.strength : nullptr, in.samples, in.seed, in.threads);
  }
  return out;
}

ComparisonScene sceneOf(const ComparisonInput& in, const ComparisonResult& r) {
  ComparisonScene scene;
  int style = 0;
  for (const DesignCurve& d : in.designs) scene.designs.push_back({d, style++});
  for (const MeasuredCurve& m : in.measured) scene.measured.push_back({m, style++});
  if (r.hasScatter && r.monteCarlo.samples > 0) {
    ShownBand b;
    b.grid = r.grid;
    b.worstLower = r.worst.lower;
    b.worstUpper = r.worst.upper;
    for (std::size_t i = 0; i < r.grid.size() && r.monteCarlo.samples > 1; ++i) {
      b.sigmaLower.push_back(r.monteCarlo.mean[i] - 3 * r.monteCarlo.sigma[i]);
      b.sigmaUpper.push_back(r.monteCarlo.mean[i] + 3 * r.monteCarlo.sigma[i]);
    }
    scene.band = std::move(b);
  }
  return scene;
}

}  // namespace diaspring::compare

#pragma once
// Production scatter of a design: its five toleranced dimensions, each
// within ± a tolerance: the thickness h, the free height l0 = h + H (the
// height the disc-spring standard tolerances and a supplier measures: a
// made spring's cone height is H = l0 − h), R, r and E; evaluated at the installed deflections the
// clutch cover sets (the nominal λ1B, λ1A and λ1C of the design, the same
// for every spring):
//  - worst case: the extremes over the 32 corners of the tolerance box;
//  - Monte Carlo: normal deviates with σ = tolerance / 3, from a fixed
//    seed, the same result on any number of threads;
//  - the sensitivities ∂F1B/∂x at the nominal design.
// The load radii follow the radii as the curve command defines them
// (R1 = R − 2, r1 = r + 2).

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compare/design_curve.h"

namespace diaspring::compare {

// The scattering inputs of one spring.
struct SpringParams {
  double h = 0, H = 0, R = 0, r = 0, E = 0;
};
SpringParams nominalParams(const DesignCurve& curve);
search::Geometry geometryOf(const SpringParams& p);

// F1 at λ1 and its partial derivatives (N/mm for h, H, R, r; N/MPa for E),
// by differentiating the load law
//   F1 = c E h λ L / s² · [(H − a λ)(H − a λ/2) + h²],
//   c = π / (6 (1 − μ²)), L = ln(R/r), s = R1 − r1 = R − r − 4, a = (R − r)/s.
struct LoadGradient {
  double F = 0, dh = 0, dH = 0, dR = 0, dr = 0, dE = 0;
};
LoadGradient loadGradient(const SpringParams& p, double mu, double lambda1);

// ± tolerances: h, l0 (= h + H), R, r in mm, E and the clamp load in per cent.
struct Tolerances {
  double h = 0, l0 = 0, R = 0, r = 0, Epercent = 0;
  double clampPercent = 5;
};
// Symmetric tolerances from the disc-spring standard (DIN EN 16983, formerly
// DIN 2093, tables of permissible deviations), centred on the nominal: half
// the width of each band, so the scatter is as wide as the band allows
//   t (h here):      +0.02/−0.06 (0.2 … 0.6 mm), +0.03/−0.09 (… 1.25),
//                    +0.04/−0.12 (… 3.8), +0.05/−0.15 (… 6), ±0.10 (… 16)
//   l0:              +0.10/−0.05 (t < 1.25), +0.15/−0.08 (… 2), +0.20/−0.10 (… 3),
//                    +0.30/−0.15 (… 6), ±0.30 (… 16)
//   De h12, Di H12 (ISO 286 IT12 by the diameter 2R, 2r): 0.25 (30 … 50 mm),
//                    0.30 (… 80), 0.35 (… 120), 0.40 (… 180), 0.46 (… 250),
//                    0.52 (… 315), 0.57 (… 400), 0.63 (… 500); on the radius half of that band's half.
// The standard gives no tolerance for the modulus: E defaults to 0 %
// (type the material supplier's). The clamp load: ±5 %.
Tolerances defaultTolerances(const search::Geometry& g);

// The row of the standard's table each default tolerance comes from: its
// deviations (mm; for De and Di the whole IT12 band in `plus`), the range
// of the quantity the row holds (t for h and l0, the diameter 2R or 2r for
// R and r; `from` exclusive, 0 for the first row), and the tolerance taken.
struct StandardBand {
  double plus = 0, minus = 0, from = 0, upTo = 0, tolerance = 0;
};
struct StandardBands {
  StandardBand h, l0, R, r;
};
StandardBands standardBands(const search::Geometry& g);

// The largest |deviate| normalDeviates can draw: Box-Muller's radius at the
// smallest uniform 2⁻⁵³, √(−2 ln 2⁻⁵³) ≈ 8.572. A Monte Carlo spring lies
// within the nominal ± maxDeviate()/3 × the tolerance (σ = tolerance / 3),
// a corner of the worst case within ± the tolerance.
double maxDeviate();

// A tolerance that lets a spring of the scatter reach an impossible
// dimension: h, H, R, r, E or the ring between the load radii
// (R1 − r1 = R − r − 4) at or below zero somewhere in the sampled range.
struct ToleranceLimit {
  std::string input;  // the tolerance at fault: "h", "R", "r", "E", "h, l0" for the cone height, "R, r" for the ring
  std::string what;   // the dimension that reaches zero: "h", ..., "R1 - r1"
  double lowest = 0;  // its smallest sampled value (mm; MPa for E)
};
std::optional<ToleranceLimit> impossibleTolerance(const DesignCurve& nominal, const Tolerances& tol);
// The window's sentence for it: "h 的公差使抽样的弹簧 h 降到 -6.37 mm…".
std::string toleranceLimitZh(const ToleranceLimit& limit);

struct Range {
  double min = 0, max = 0;
};
// An undefined figure is NaN: the statistics of no springs, or of springs
// some of which the law cannot evaluate (a load beyond the range of numbers).
struct Stats {
  double min = NAN, max = NAN, mean = NAN, sigma = NAN;
};

// What one spring does at the nominal deflections.
struct SpringOutputs {
  double F1B = 0, F1A = 0, F1C = 0, releaseForceMax = 0;
};
SpringOutputs springOutputs(const SpringParams& p, const DesignCurve& nominal);

struct WorstCase {
  Range F1B, F1A, F1C, releaseForceMax;
  std::vector<double> lower, upper;  // F1 over the grid
};
WorstCase worstCase(const DesignCurve& curve, const Tolerances& tol, std::span<const double> grid);

inline constexpr int kDefaultSamples = 10000;
inline constexpr std::uint64_t kDefaultSeed = 19;

struct MonteCarlo {
  int samples = 0;
  std::uint64_t seed = 0;
  Stats F1B, F1A, F1C, releaseForceMax;
  double withinClampTolerance = NAN;  // share with |F1B − F| ≤ clampPercent % of F
  double F1AatLeastF1B = NAN;         // share with F1A ≥ F1B; both NaN without samples
  std::vector<double> mean, sigma;  // F1 over the grid
};
// `threads` 0: as many as the machine has. The deviates of sample i depend
// only on the seed and i, and the sums are formed in blocks of samples
// combined in order, so any thread count gives the same bits.
MonteCarlo monteCarlo(const DesignCurve& curve, const Tolerances& tol, std::span<const double> grid, int samples,
                      std::uint64_t seed, unsigned threads = 0);

// The five standard normal deviates of sample i (h, l0, R, r, E).
std::array<double, 5> normalDeviates(std::uint64_t seed, std::uint64_t sample);
// The spring of those deviates: each toleranced dimension its nominal plus
// z·σ, σ = tolerance / 3; H follows as l0 − h.
SpringParams sampledSpring(const SpringParams& nominal, const Tolerances& tol, const std::array<double, 5>& z);
// The spring with toleranced dimension `input` (0 h, 1 l0, 2 R, 3 r, 4 E)
// moved by `delta` (mm; MPa for E) and the others kept: a thicker spring of
// the same free height has a lower cone.
SpringParams movedSpring(const SpringParams& nominal, std::size_t input, double delta);

// ∂F1B/∂h, ∂H, ∂R, ∂r in N/mm and ∂F1B/∂E in N/MPa, at the nominal λ1B.
struct Sensitivity {
  double h = 0, H = 0, R = 0, r = 0, E = 0;
};
Sensitivity sensitivities(const DesignCurve& curve);

// The deflections a band is computed at: `count` + 1 from 0 to the curve's end.
std::vector<double> bandGrid(const DesignCurve& curve, int count);

}  // namespace diaspring::compare

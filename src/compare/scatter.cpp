#include "compare/scatter.h"
#include "runtime/convert.h"
#include "runtime/portable_log.h"
#include "runtime/thread_group.h"

#include <algorithm>
#include <cmath>

namespace diaspring::compare {
namespace {

const double kLnBase = portableLog(kLogBase);  // as the load law divides by it

// Lower and upper bound of a band of the standard's table: (limit, plus, minus).
struct Row {
  double upTo, plus, minus;
};
double halfBand(const Row* rows, std::size_t n, double x) {
  for (std::size_t i = 0; i < n; ++i)
    if (x <= rows[i].upTo) return 0.5 * (rows[i].plus + rows[i].minus);
  return 0.5 * (rows[n - 1].plus + rows[n - 1].minus);
}

// SplitMix64 (Steele, Lea & Flood, "Fast splittable pseudorandom number
// generators", OOPSLA 2014): a counter-based stream per sample.
std::uint64_t splitmix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}
// Uniform on (0, 1]: 53 random bits.
double uniform(std::uint64_t& state) { return (static_cast<double>(splitmix(state) >> 11) + 1.0) * 0x1.0p-53; }

SpringParams corner(const SpringParams& n, const Tolerances& t, unsigned mask) {
  const auto s = [mask](unsigned bit) { return (mask >> bit) & 1U ? 1.0 : -1.0; };
  return {n.h + s(0) * t.h, n.H + s(1) * t.l0 - s(0) * t.h, n.R + s(2) * t.R, n.r + s(3) * t.r,
          n.E * (1 + s(4) * t.Epercent / 100)};
}

// Sums of one block of samples, combined in block order.
struct Block {
  std::array<double, 4> sum{}, sumSq{};
  std::array<double, 4> min{}, max{};
  long within = 0, aAtLeastB = 0;
  long unreadB = 0, unreadAB = 0;  // springs whose F1B, or F1A or F1B, is not a number
  std::vector<double> gridSum, gridSumSq;  // deviations from the nominal curve
};
constexpr int kBlock = 512;

}  // namespace

SpringParams nominalParams(const DesignCurve& c) { return {c.g.h, c.g.H, c.g.R, c.g.r, c.clutch.E}; }

search::Geometry geometryOf(const SpringParams& p) { return {p.h, p.H, p.R, p.r, p.R - 2, p.r + 2}; }

LoadGradient loadGradient(const SpringParams& p, double mu, double l) {
  const double c = kLawPi / (6 * (1 - mu * mu));
  const double s = p.R - p.r - 4;
  const double L = portableLog(p.R / p.r) / kLnBase;
  const double a = (p.R - p.r) / s;
  const double h1 = p.H - a * l, h2 = p.H - 0.5 * a * l;
  const double S = h1 * h2 + p.h * p.h;
  const double k = c * p.E * p.h * l * L / (s * s);  // F = k S
  const double dSda = -l * h2 - 0.5 * l * h1;
  const double dads = 4 / (s * s);  // ∂a/∂r; ∂a/∂R = −4/s²
  LoadGradient g;
  g.F = k * S;
  g.dE = k * S / p.E;
  g.dh = k * S / p.h + k * 2 * p.h;
  g.dH = k * (h1 + h2);
  // ∂(L/s²)/∂R = 1/(R ln b s²) − 2L/s³, ∂(L/s²)/∂r = −1/(r ln b s²) + 2L/s³.
  const double base = c * p.E * p.h * l;
  g.dR = base * (1 / (p.R * kLnBase * s * s) - 2 * L / (s * s * s)) * S + k * dSda * (-dads);
  g.dr = base * (-1 / (p.r * kLnBase * s * s) + 2 * L / (s * s * s)) * S + k * dSda * dads;
  return g;
}

namespace {

constexpr Row kThickness[] = {
    {0.6, 0.02, 0.06}, {1.25, 0.03, 0.09}, {3.8, 0.04, 0.12}, {6.0, 0.05, 0.15}, {16.0, 0.10, 0.10}};
constexpr Row kHeight[] = {
    {1.25, 0.10, 0.05}, {2.0, 0.15, 0.08}, {3.0, 0.20, 0.10}, {6.0, 0.30, 0.15}, {16.0, 0.30, 0.30}};
// IT12 (ISO 286-1) by diameter: the whole band, 0 to ∓IT.
constexpr Row kIt12[] = {{6, 0.12, 0},   {10, 0.15, 0},  {18, 0.18, 0},  {30, 0.21, 0},
                         {50, 0.25, 0},  {80, 0.30, 0},  {120, 0.35, 0}, {180, 0.40, 0},
                         {250, 0.46, 0}, {315, 0.52, 0}, {400, 0.57, 0}, {500, 0.63, 0}};

// The row of a table that holds x and the limit of the row before it (0 for the first).
StandardBand bandOf(const Row* rows, std::size_t n, double x, double tolerance) {
  std::size_t i = 0;
  while (i + 1 < n && !(x <= rows[i].upTo)) ++i;
  return {rows[i].plus, rows[i].minus, i ? rows[i - 1].upTo : 0.0, rows[i].upTo, tolerance};
}

}  // namespace

Tolerances defaultTolerances(const search::Geometry& g) {
  Tolerances t;
  t.h = halfBand(kThickness, std::size(kThickness), g.h);
  t.l0 = halfBand(kHeight, std::size(kHeight), g.h);
  t.R = 0.5 * halfBand(kIt12, std::size(kIt12), 2 * g.R);
  t.r = 0.5 * halfBand(kIt12, std::size(kIt12), 2 * g.r);
  t.Epercent = 0;
  t.clampPercent = 5;
  return t;
}

StandardBands standardBands(const search::Geometry& g) {
  const Tolerances t = defaultTolerances(g);
  return {bandOf(kThickness, std::size(kThickness), g.h, t.h), bandOf(kHeight, std::size(kHeight), g.h, t.l0),
          bandOf(kIt12, std::size(kIt12), 2 * g.R, t.R), bandOf(kIt12, std::size(kIt12), 2 * g.r, t.r)};
}

double maxDeviate() {
  static const double z = std::sqrt(-2 * portableLog(0x1.0p-53));
  return z;
}

std::optional<ToleranceLimit> impossibleTolerance(const DesignCurve& d, const Tolerances& t) {
  const SpringParams n = nominalParams(d);
  const double reach = std::max(1.0, maxDeviate() / 3);  // in tolerances: the Monte Carlo's, beyond the corners'
  struct Dimension {
    const char* input;
    const char* what;
    double nominal, tolerance;
  };
  const Dimension dims[] = {
      {"h", "h", n.h, t.h},
      {"h, l0", "H", n.H, t.l0 + t.h},  // H = l0 − h
      {"R", "R", n.R, t.R},
      {"r", "r", n.r, t.r},
      {"E", "E", n.E, n.E * t.Epercent / 100},
      {"R, r", "R1 - r1", n.R - n.r - 4, t.R + t.r},
  };
  for (const Dimension& x : dims) {
    const double lowest = x.nominal - reach * x.tolerance;
    if (!(lowest > 0)) return ToleranceLimit{x.input, x.what, lowest};
  }
  return std::nullopt;
}

std::string toleranceLimitZh(const ToleranceLimit& limit) {
  const std::string input = limit.input == "R, r" ? "R 与 r" : limit.input == "h, l0" ? "h 与 l0" : limit.input;
  const double lowest = limit.lowest;
  const std::string value = std::fabs(lowest) < 1e15 ? format(lowest, "0.00") : generalText(Num(lowest));
  return input + " 的公差使抽样的弹簧 " + limit.what + " 降到 " + value + (limit.input == "E" ? " MPa" : " mm") +
         "（抽样范围为名义值 ± " + format(maxDeviate() / 3, "0.00") + " × 公差）；弹簧的各尺寸须大于 0，请减小公差。";
}

SpringOutputs springOutputs(const SpringParams& p, const DesignCurve& n) {
  const search::Geometry g = geometryOf(p);
  const search::LoadLaw law(g, p.E, n.clutch.mu);
  SpringOutputs o;
  o.F1B = law(n.p.lambda1B);
  o.F1A = law(n.p.lambda1A);
  o.F1C = law(n.p.lambda1C);
  o.releaseForceMax = search::objectives(law, g, n.clutch, n.p).releaseForceMax;
  return o;
}

WorstCase worstCase(const DesignCurve& curve, const Tolerances& tol, std::span<const double> grid) {
  WorstCase w;
  const SpringParams n = nominalParams(curve);
  w.lower.assign(grid.size(), INFINITY);
  w.upper.assign(grid.size(), -INFINITY);
  Range* ranges[] = {&w.F1B, &w.F1A, &w.F1C, &w.releaseForceMax};
  for (Range* r : ranges) *r = {INFINITY, -INFINITY};
  for (unsigned mask = 0; mask < 32; ++mask) {
    const SpringParams p = corner(n, tol, mask);
    const SpringOutputs o = springOutputs(p, curve);
    const double values[] = {o.F1B, o.F1A, o.F1C, o.releaseForceMax};
    for (std::size_t k = 0; k < 4; ++k)
      ranges[k]->min = std::min(ranges[k]->min, values[k]), ranges[k]->max = std::max(ranges[k]->max, values[k]);
    const search::LoadLaw law(geometryOf(p), p.E, curve.clutch.mu);
    for (std::size_t i = 0; i < grid.size(); ++i) {
      const double f = law(grid[i]);
      w.lower[i] = std::min(w.lower[i], f);
      w.upper[i] = std::max(w.upper[i], f);
    }
  }
  return w;
}

std::array<double, 5> normalDeviates(std::uint64_t seed, std::uint64_t sample) {
  // The stream of sample i starts at a state that mixes the seed and i.
  std::uint64_t mix = seed ^ (sample * 0xD1B54A32D192ED03ULL);
  std::uint64_t state = splitmix(mix);
  std::array<double, 5> z{};
  // Box-Muller: two uniforms give two independent standard normal deviates.
  for (std::size_t i = 0; i < 5; i += 2) {
    const double u1 = uniform(state), u2 = uniform(state);
    const double radius = std::sqrt(-2 * portableLog(u1));
    const CosSin angle = cosSinOfTurn(u2);  // of 2π u2
    z[i] = radius * angle.cos;
    if (i + 1 < 5) z[i + 1] = radius * angle.sin;
  }
  return z;
}

SpringParams sampledSpring(const SpringParams& n, const Tolerances& tol, const std::array<double, 5>& z) {
  const double dh = z[0] * tol.h / 3;
  return {n.h + dh, n.H + z[1] * tol.l0 / 3 - dh, n.R + z[2] * tol.R / 3, n.r + z[3] * tol.r / 3,
          n.E * (1 + z[4] * tol.Epercent / 300)};
}

SpringParams movedSpring(const SpringParams& n, std::size_t input, double delta) {
  SpringParams p = n;
  switch (input) {
    case 0: p.h += delta, p.H -= delta; break;
    case 1: p.H += delta; break;
    case 2: p.R += delta; break;
    case 3: p.r += delta; break;
    default: p.E += delta; break;
  }
  return p;
}

MonteCarlo monteCarlo(const DesignCurve& curve, const Tolerances& tol, std::span<const double> grid, int samples,
                      std::uint64_t seed, unsigned threads) {
  MonteCarlo mc;
  mc.samples = std::max(samples, 0);
  mc.seed = seed;
  const SpringParams n = nominalParams(curve);
  const SpringOutputs nominal = springOutputs(n, curve);
  const double nom[] = {nominal.F1B, nominal.F1A, nominal.F1C, nominal.releaseForceMax};
  std::vector<double> nominalGrid(grid.size());
  for (std::size_t i = 0; i < grid.size(); ++i) nominalGrid[i] = curve.load(grid[i]);
  const double clampBand = curve.clutch.F * tol.clampPercent / 100;

  const int blockCount = (mc.samples + kBlock - 1) / kBlock;
  std::vector<Block> blocks(static_cast<std::size_t>(blockCount));
  parallelFor(blocks.size(), workerCount(threads, blocks.size()), [&](std::size_t block) {
    Block& blk = blocks[block];
    const auto b = static_cast<int>(block);
    blk.gridSum.assign(grid.size(), 0.0);
    blk.gridSumSq.assign(grid.size(), 0.0);
    blk.min.fill(INFINITY);
    blk.max.fill(-INFINITY);
    const int end = std::min(mc.samples, (b + 1) * kBlock);
    for (int i = b * kBlock; i < end; ++i) {
      const auto z = normalDeviates(seed, static_cast<std::uint64_t>(i));
      const SpringParams p = sampledSpring(n, tol, z);
      const SpringOutputs o = springOutputs(p, curve);
      const double v[] = {o.F1B, o.F1A, o.F1C, o.releaseForceMax};
      for (std::size_t k = 0; k < 4; ++k) {
        const double d = v[k] - nom[k];
        blk.sum[k] += d;
        blk.sumSq[k] += d * d;
        blk.min[k] = std::min(blk.min[k], v[k]);
        blk.max[k] = std::max(blk.max[k], v[k]);
      }
      if (std::fabs(o.F1B - curve.clutch.F) <= clampBand) ++blk.within;
      if (o.F1A >= o.F1B) ++blk.aAtLeastB;
      if (!std::isfinite(o.F1B)) ++blk.unreadB;
      if (!std::isfinite(o.F1A) || !std::isfinite(o.F1B)) ++blk.unreadAB;
      const search::LoadLaw law(geometryOf(p), p.E, curve.clutch.mu);
      for (std::size_t g = 0; g < grid.size(); ++g) {
        const double d = law(grid[g]) - nominalGrid[g];
        blk.gridSum[g] += d;
        blk.gridSumSq[g] += d * d;
      }
    }
  });

  // Combine in block order.
  std::array<double, 4> sum{}, sumSq{}, lo, hi;
  lo.fill(INFINITY);
  hi.fill(-INFINITY);
  long within = 0, aAtLeastB = 0, unreadB = 0, unreadAB = 0;
  std::vector<double> gridSum(grid.size(), 0.0), gridSumSq(grid.size(), 0.0);
  for (const Block& blk : blocks) {
    for (std::size_t k = 0; k < 4; ++k) {
      sum[k] += blk.sum[k];
      sumSq[k] += blk.sumSq[k];
      lo[k] = std::min(lo[k], blk.min[k]);
      hi[k] = std::max(hi[k], blk.max[k]);
    }
    within += blk.within;
    aAtLeastB += blk.aAtLeastB;
    unreadB += blk.unreadB;
    unreadAB += blk.unreadAB;
    for (std::size_t g = 0; g < grid.size(); ++g) gridSum[g] += blk.gridSum[g], gridSumSq[g] += blk.gridSumSq[g];
  }
  const double N = mc.samples;
  // Mean and σ (sample, N − 1) from sums of deviations from the nominal;
  // NaN when a sample or the sums leave the range of numbers (an infinite
  // or undefined load), never a σ of 0 made from them.
  const auto stats = [N](double s, double sq, double shift) {
    const double mean = s / N;
    const double var = N > 1 ? (sq - s * mean) / (N - 1) : NAN;  // one spring has no σ
    if (!std::isfinite(mean)) return std::pair{double(NAN), double(NAN)};
    return std::pair{shift + mean, std::isfinite(var) ? std::sqrt(std::max(0.0, var)) : NAN};
  };
  Stats* out[] = {&mc.F1B, &mc.F1A, &mc.F1C, &mc.releaseForceMax};
  if (mc.samples == 0) return mc;  // every figure undefined
  for (std::size_t k = 0; k < 4; ++k) {
    const auto [mean, sigma] = stats(sum[k], sumSq[k], nom[k]);
    if (std::isfinite(mean)) *out[k] = {lo[k], hi[k], mean, sigma};
  }
  mc.withinClampTolerance = unreadB ? NAN : static_cast<double>(within) / N;
  mc.F1AatLeastF1B = unreadAB ? NAN : static_cast<double>(aAtLeastB) / N;
  mc.mean.resize(grid.size());
  mc.sigma.resize(grid.size());
  for (std::size_t g = 0; g < grid.size(); ++g) {
    const auto [mean, sigma] = stats(gridSum[g], gridSumSq[g], nominalGrid[g]);
    mc.mean[g] = mean;
    mc.sigma[g] = sigma;
  }
  return mc;
}

Sensitivity sensitivities(const DesignCurve& curve) {
  const LoadGradient g = loadGradient(nominalParams(curve), curve.clutch.mu, curve.p.lambda1B);
  return {g.dh, g.dH, g.dR, g.dr, g.dE};
}

std::vector<double> bandGrid(const DesignCurve& curve, int count) {
  std::vector<double> grid;
  const double end = curve.lambdaEnd();
  for (int i = 0; i <= count; ++i) grid.push_back(end * i / count);
  return grid;
}

}  // namespace diaspring::compare

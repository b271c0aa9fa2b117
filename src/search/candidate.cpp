#include "search/candidate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "runtime/convert.h"
#include "runtime/portable_log.h"

namespace diaspring::search {
namespace {

const double kLnBase = portableLog(kLogBase);  // as SpringLoad divides by it
constexpr double kInf = std::numeric_limits<double>::infinity();

// The sweep's running deflection at each pass: 0.001 added in double
// precision, pass after pass, while it stays at or below 10.
const std::vector<double>& sweepGrid() {
  static const std::vector<double> grid = [] {
    std::vector<double> g;
    for (double x = 0; x <= 10.0; x = x + 0.001) g.push_back(x);
    return g;
  }();
  return grid;
}

// The last pass of the sweep whose loads satisfy `accepts`, looked for
// around the stationary points (away from them the cubic is strictly
// monotone and no pass is accepted); its first probe, or none.
template <class Accepts>
std::optional<double> sweepExtremum(const LoadLaw& law, const double* roots, int rootCount, Accepts accepts) {
  const std::vector<double>& grid = sweepGrid();
  const long long last = static_cast<long long>(grid.size()) - 1;
  std::optional<long long> found;
  for (int i = 0; i < rootCount; ++i) {
    if (!(roots[i] > -0.01 && roots[i] < 10.01)) continue;
    const long long centre = static_cast<long long>(std::floor(roots[i] / 0.001));
    for (long long k = std::max(0LL, centre - 4); k <= std::min(last, centre + 4); ++k) {
      const double x = grid[static_cast<std::size_t>(k)];
      const double f0 = law(x), f1 = law(x + 0.001), f2 = law(x + 0.002);
      if (accepts(f0, f1, f2) && (!found || k > *found)) found = k;
    }
  }
  if (!found) return std::nullopt;
  return grid[static_cast<std::size_t>(*found)] + 0.001;
}

RuleOutcome inRange(double value, double low, double high) {
  RuleOutcome out;
  out.value = value;
  out.low = low;
  out.high = high;
  out.passed = low <= value && value <= high;
  out.scale = high - low;
  if (!out.passed) out.miss = std::isnan(value) ? kInf : (value < low ? low - value : value - high);
  return out;
}

// A rule with a fixed range, with its bounds from the rules' table.
RuleOutcome inRange(int rule, double value) {
  const RuleRange& range = *ruleInfo(rule).range;
  return inRange(value, range.low, range.high);
}

}  // namespace

double capturedInnerRadius(double R, double RoverR) {
  return val(format(Num(R) / Num(RoverR), "0.00")).value();
}

Geometry captureGeometry(std::string_view h, std::string_view HoverH, std::string_view R, std::string_view RoverR) {
  Geometry g;
  g.h = val(h).value();
  g.H = val(generalText(Num(g.h) * val(HoverH))).value();
  g.R = val(R).value();
  g.r = capturedInnerRadius(g.R, val(RoverR).value());
  g.R1 = g.R - 2;
  g.r1 = g.r + 2;
  return g;
}

LoadLaw::LoadLaw(const Geometry& g, double E, double mu) : g_(g) {
  elasticDivisor_ = 6 * (1 - mu * mu);
  piEh_ = (kLawPi * E) * g.h;
  const double radiusRatio = g.R / g.r;
  const double logRatio = portableLog(radiusRatio) / kLnBase;
  const double span = g.R1 - g.r1;
  const double spanSquared = span * span;
  geometry_ = logRatio / spanSquared;
  lever_ = (g.R - g.r) / span;
  hh_ = g.h * g.h;
  valid_ = std::isfinite(elasticDivisor_) && elasticDivisor_ != 0 && std::isfinite(radiusRatio) && radiusRatio > 0 &&
           std::isfinite(spanSquared) && spanSquared != 0 && std::isfinite(piEh_) && std::isfinite(logRatio) &&
           std::isfinite(geometry_) && std::isfinite(lever_) && std::isfinite(hh_);
}

double LoadLaw::operator()(double l) const {
  const double elastic = (piEh_ * l) / elasticDivisor_;
  const double height1 = g_.H - l * lever_;
  const double height2 = g_.H - (0.5 * l) * lever_;
  const double shape = height1 * height2 + hh_;
  return (elastic * geometry_) * shape;
}

int LoadLaw::stationaryPoints(double out[2]) const {
  const double disc = (g_.H * g_.H - 2 * g_.h * g_.h) / 3;
  if (!(disc >= 0) || lever_ == 0) return 0;
  const double root = std::sqrt(disc);
  const double a = (g_.H - root) / lever_, b = (g_.H + root) / lever_;
  out[0] = std::min(a, b);
  out[1] = std::max(a, b);
  return 2;
}

double LoadLaw::maxOn(double lo, double hi) const {
  double best = std::max((*this)(lo), (*this)(hi));
  double roots[2];
  const int n = stationaryPoints(roots);
  for (int i = 0; i < n; ++i)
    if (lo < roots[i] && roots[i] < hi) best = std::max(best, (*this)(roots[i]));
  return best;
}

std::optional<WorkingPoints> findWorkingPoints(const LoadLaw& law, double dLambda, double lambda1f) {
  if (!law.valid()) return std::nullopt;
  double roots[2];
  const int n = law.stationaryPoints(roots);
  const auto peak = sweepExtremum(law, roots, n, [](double f0, double f1, double f2) { return f0 < f1 && f1 > f2; });
  const auto valley = sweepExtremum(law, roots, n, [](double f0, double f1, double f2) { return f0 > f1 && f1 < f2; });
  if (!peak || !valley) return std::nullopt;
  WorkingPoints p;
  p.lambda1M = *peak;
  p.lambda1N = *valley;
  p.lambda1H = 0.5 * (p.lambda1M + p.lambda1N);
  p.lambda1B = 0.91 * p.lambda1H;
  p.lambda1A = p.lambda1B - dLambda;
  p.lambda1C = p.lambda1B + lambda1f;
  p.F1B = law(p.lambda1B);
  p.F1A = law(p.lambda1A);
  if (!std::isfinite(p.F1B) || !std::isfinite(p.F1A) || p.lambda1B == 0) return std::nullopt;
  return p;
}

SpringDesign springDesignOf(const Geometry& g, const WorkingPoints& p, double E, double mu) {
  SpringDesign d;
  d.R = g.R, d.r = g.r, d.R1 = g.R1, d.r1 = g.r1, d.H = g.H, d.h = g.h, d.E = E, d.mu = mu;
  d.lambda1M = p.lambda1M, d.lambda1H = p.lambda1H;
  d.lambda1B = p.lambda1B, d.lambda1A = p.lambda1A, d.lambda1C = p.lambda1C;
  return d;
}

RuleOutcomes checkRules(const Geometry& g, const ClutchData& c, const WorkingPoints& p) {
  RuleOutcomes out;
  // 1. |F - F1B| < 1, strictly.
  RuleOutcome& load = out[0];
  load.value = std::fabs(c.F - p.F1B);
  load.high = 1;
  load.passed = load.value < 1;
  load.miss = load.passed ? 0 : (std::isnan(load.value) ? kInf : load.value - 1);
  load.scale = std::max(c.F / 100, 1.0);
  // 2. F1B < F1A: the value is the margin F1A - F1B, which must be above 0.
  RuleOutcome& wear = out[1];
  wear.value = p.F1A - p.F1B;
  wear.high = kInf;
  wear.passed = p.F1B < p.F1A;
  wear.miss = wear.passed ? 0 : std::max(p.F1B - p.F1A, 1e-9);
  wear.scale = std::max(std::fabs(p.F1B) / 100, 1.0);

  out[2] = inRange(2, g.H / g.h);
  out[3] = inRange(3, g.H * 180 / (g.R - g.r) / kConeAnglePi);
  out[4] = inRange(4, g.R / g.r);
  out[5] = inRange(5, g.R * 2 / g.h);
  out[6] = inRange(6, g.R / c.r0);
  out[7] = inRange(g.R1, (c.D + c.d) / 4, c.D / 2);
  out[7].scale = std::max(out[7].scale, 1.0);
  out[8] = inRange(8, g.R - g.R1);
  out[9] = inRange(9, g.r1 - g.r);
  out[10] = inRange(10, c.rf - c.r0);
  out[11] = inRange(11, (g.r1 - c.rf) / (g.R1 - g.r1));
  return out;
}

Objectives objectives(const LoadLaw& law, const Geometry& g, const ClutchData& c, const WorkingPoints& p) {
  Objectives o;
  o.wearRise = (law.maxOn(p.lambda1A, p.lambda1B) - p.F1B) / p.F1B;
  const double release = std::max(law.maxOn(p.lambda1B, p.lambda1C), law.maxOn(p.lambda1A, p.lambda1A + c.lambda1f));
  o.releaseForceMax = (g.R1 - g.r1) / (g.r1 - c.rf) * release;
  return o;
}

std::string decimalText(long long k, int decimals) {
  const bool negative = k < 0;
  std::string digits = std::to_string(negative ? -k : k);
  if (decimals > 0) {
    if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, static_cast<std::size_t>(decimals + 1) - digits.size(), '0');
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  return negative && digits != "0" ? "-" + digits : digits;
}

}  // namespace diaspring::search

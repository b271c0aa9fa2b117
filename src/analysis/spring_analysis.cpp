#include "analysis/spring_analysis.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "analysis/materials.h"
#include "form/clutch_data.h"
#include "form/extra_inputs.h"
#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/portable_log.h"

namespace diaspring {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double readBox(const Fields& fields, TextBox box) {
  try {
    return val(fields.text(box)).value();
  } catch (const Fault&) {
    return kNoValue;
  }
}

bool finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

CurveRun curveRunOf(const WindowLogic& window, const Fields& fields) {
  const Num valley = window.valleyDeflection();
  const ClutchData c = readClutchData([&fields](TextBox box) { return readBox(fields, box); });
  return {window.design(), valley.isSet() ? valley.value() : kNoValue, c.lambda1f, c.rf, c.F, c.D, c.d, c.r0};
}

ParamsResult analysisParams(const DesignInputs& inputs) {
  ParamsResult result;
  AnalysisParams& q = result.params;
  double* const targets[] = {&q.n,           &q.b,           &q.Rm,           &q.sigmaAllow,
                             &q.sigmaAllowF, &q.sigmaO0,     &q.fatigueSlope, &q.requiredCycles,
                             &q.sigmaO0At5e5, &q.fatigueSlopeAt5e5, &q.sigmaO0At1e5, &q.fatigueSlopeAt1e5};
  static_assert(std::size(targets) == 12, "one target for each analysis input, in the registry's order");
  std::size_t i = 0;
  for (const ExtraInput& input : extraInputs()) {
    const ExtraValue v = readExtra(input, extraText(inputs, input));
    if (!v.error.empty() && result.error.empty()) result.error = v.error;
    *targets[i++] = v.value;
  }
  if (!result.error.empty()) return result;
  const AnalysisParams& p = result.params;
  if (!(p.n >= 1) || p.n != std::floor(p.n)) result.error = "n: the number of fingers must be a whole number of at least 1";
  else if (!(p.b > 0)) result.error = "b: the finger width must be above 0";
  else if (!(p.Rm > 0)) result.error = "Rm: the tensile strength must be above 0";
  else if (!(p.sigmaAllow > 0)) result.error = "sigmaAllow: the permissible stress must be above 0";
  else if (!(p.sigmaAllowF > 0)) result.error = "sigmaAllowF: the permissible stress must be above 0";
  else if (!(p.requiredCycles >= 1)) result.error = "requiredCycles: the required life must be at least 1 cycle";
  else if (std::isnan(p.sigmaO0At5e5) != std::isnan(p.fatigueSlopeAt5e5))
    result.error = "sigmaO0At5e5, fatigueSlopeAt5e5: give both numbers of the line at 5e5 cycles, or neither";
  else if (std::isnan(p.sigmaO0At1e5) != std::isnan(p.fatigueSlopeAt1e5))
    result.error = "sigmaO0At1e5, fatigueSlopeAt1e5: give both numbers of the line at 1e5 cycles, or neither";
  q.userFatigueData = setsFatigueLines(inputs);
  const DesignMaterial material = designMaterial(inputs);
  q.material = material.caption();
  const bool setsRm = changesExtra(inputs, "Rm");
  const bool setsLimits = changesExtra(inputs, "sigmaAllow") || changesExtra(inputs, "sigmaAllowF");
  if (material.library != nullptr && material.library->Rm.given() && q.Rm == material.library->Rm.value) {
    q.strengthBasis = material.library->Rm.source;
    const MaterialLimits derived = limitsOfStrength(q.Rm);
    const auto near = [](double a, double b) { return std::fabs(a - b) <= 0.5; };  // as typed, to the MPa
    q.limitsBasis = near(q.sigmaAllow, derived.sigmaAllow) && near(q.sigmaAllowF, derived.sigmaAllowF)
                        ? std::string(kLimitsBasis)
                        : std::string(kUserDataMark);
  } else {
    if (setsRm || !material.name.empty()) q.strengthBasis = kUserDataMark;
    if (setsLimits || !material.name.empty()) q.limitsBasis = kUserDataMark;
  }
  return result;
}

namespace {

// "2·10⁶", "3.2·10⁵": two significant digits.
std::string cyclesText(double cycles) {
  static const char* const kSuperscripts[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
  int exponent = 0;
  double mantissa = cycles;
  while (mantissa >= 10) {
    mantissa /= 10;
    ++exponent;
  }
  while (mantissa > 0 && mantissa < 1) {
    mantissa *= 10;
    --exponent;
  }
  std::string digits = format(mantissa, "0.0");
  if (digits == "10.0") {
    digits = "1.0";
    ++exponent;
  }
  if (digits.size() > 2 && digits.compare(digits.size() - 2, 2, ".0") == 0) digits.resize(digits.size() - 2);
  if (exponent < 0 || exponent > 9) return format(cycles, "0");
  return digits + "·10" + kSuperscripts[exponent];
}

// N between two lives (n1 < n2) where the line falls from σO1 to σO2,
// linear in ln N: found by bisection with the one logarithm of the core,
// so every platform gives the same number.
double interpolateLife(double n1, double o1, double n2, double o2, double sigmaO) {
  if (!(o1 > o2)) return n1;  // lines that do not fall with N: the shorter life
  const double t = (o1 - sigmaO) / (o1 - o2);
  const double target = portableLog(n1) + t * (portableLog(n2) - portableLog(n1));
  double lo = n1, hi = n2;
  for (int i = 0; i < 200 && hi - lo > lo * 1e-12; ++i) {
    const double mid = lo + (hi - lo) / 2;
    if (portableLog(mid) < target) lo = mid;
    else hi = mid;
  }
  return lo;
}

}  // namespace

std::string FatigueLife::text() const {
  switch (kind) {
    case Kind::AtLeast: return "≥ " + cyclesText(cycles);
    case Kind::Below: return "< " + cyclesText(cycles);
    case Kind::Estimated: break;
  }
  return cyclesText(cycles);
}

bool FatigueLife::covers(double required) const { return kind != Kind::Below && cycles >= required; }

FatigueLife fatigueLife(const AnalysisParams& p, double sigmaU, double sigmaO) {
  // The lines that are given, from the longest life down.
  struct Line {
    double cycles, sigmaO;
  };
  Line lines[3];
  int count = 0;
  lines[count++] = {kFatigueLives[2], p.sigmaO0 + p.fatigueSlope * sigmaU};
  if (!std::isnan(p.sigmaO0At5e5)) lines[count++] = {kFatigueLives[1], p.sigmaO0At5e5 + p.fatigueSlopeAt5e5 * sigmaU};
  if (!std::isnan(p.sigmaO0At1e5)) lines[count++] = {kFatigueLives[0], p.sigmaO0At1e5 + p.fatigueSlopeAt1e5 * sigmaU};
  FatigueLife life;
  if (!(sigmaO > lines[0].sigmaO)) return life;  // at or below the endurance line
  for (int i = 1; i < count; ++i) {
    if (sigmaO <= lines[i].sigmaO) {
      life.kind = FatigueLife::Kind::Estimated;
      life.cycles = interpolateLife(lines[i].cycles, lines[i].sigmaO, lines[i - 1].cycles, lines[i - 1].sigmaO, sigmaO);
      return life;
    }
  }
  life.kind = FatigueLife::Kind::Below;
  life.cycles = lines[count - 1].cycles;
  return life;
}

SpringModel::SpringModel(const CurveRun& run, const AnalysisParams& params) : run_(run), params_(params) {
  const SpringDesign& d = run.design;
  const double R = d.R.value(), r = d.r.value(), R1 = d.R1.value(), r1 = d.r1.value();
  const double h = d.h.value(), H = d.H.value(), E = d.E.value(), mu = d.mu.value();
  disc_ = {2 * R, 2 * r, h, H, E, mu};
  if (!finite({R, r, R1, r1, h, H, E, mu, run.rf, run.lambda1f})) {
    problem_ = "the curve run left a value that is not a number";
  } else if (!(R1 > r1)) {
    problem_ = "the load radius R1 must lie outside the support radius r1";
  } else if (!(r > run.rf) || !(r1 > run.rf)) {
    problem_ = "the bearing radius rf must lie inside the inner radius r";
  } else {
    problem_ = discSpringProblem(disc_);
  }
  if (!problem_.empty()) return;
  factors_ = discFactors(disc_.De, disc_.Di);
  sPerLambda_ = (R - r) / (R1 - r1);
  leverRatio_ = (R1 - r1) / (r1 - run.rf);
  const double L = r - run.rf;
  kf_ = params.n * E * params.b * h * h * h / (4 * L * L * L);
}

double SpringModel::load(double lambda1) const {
  SpringDesign d = run_.design;
  try {
    return SpringLoad(d, Num(lambda1)).value();
  } catch (const Fault&) {
    return kNoValue;
  }
}

double SpringModel::fingerStress(double F2) const {
  const double h = disc_.t;
  return 6 * (run_.design.r.value() - run_.rf) * F2 / (params_.n * params_.b * h * h);
}

double SpringModel::releaseTravel(double lambda1, double lambda1Engaged) const {
  return (lambda1 - lambda1Engaged) / leverRatio_ + releaseForce(load(lambda1)) / kf_;
}

PointState SpringModel::at(double lambda1) const {
  PointState p;
  p.lambda1 = lambda1;
  p.F1 = load(lambda1);
  p.s = deflection(lambda1);
  const DiscState disc = discSpringAt(disc_, factors_, p.s);
  p.sigmaOM = disc.sigmaOM;
  p.sigmaI = disc.sigmaI;
  p.sigmaII = disc.sigmaII;
  p.sigmaIII = disc.sigmaIII;
  p.sigmaIV = disc.sigmaIV;
  p.F2 = releaseForce(p.F1);
  p.sigmaFinger = fingerStress(p.F2);
  return p;
}

// F1 = c·λ·[(H − aλ)(H − aλ/2) + h²] with a = (R − r)/(R1 − r1) is a cubic in
// λ; dF1/dλ = c·[1.5a²λ² − 3aHλ + (H² + h²)] vanishes at the roots of that
// quadratic (taken in the cancellation-free form q = −(B + sign(B)·√D)/2,
// roots q/A and C/q). c > 0 does not move them.
double SpringModel::argMaxLoad(double a, double b) const {
  if (b < a) std::swap(a, b);
  double best = a;
  double bestLoad = load(a);
  const auto consider = [&](double l) {
    const double f = load(l);
    if (std::isfinite(f) && (!std::isfinite(bestLoad) || f > bestLoad)) {
      best = l;
      bestLoad = f;
    }
  };
  consider(b);
  const double H = disc_.h0, h = disc_.t, k = sPerLambda_;
  const double A = 1.5 * k * k, B = -3 * k * H, C = H * H + h * h;
  const double D = B * B - 4 * A * C;
  if (A > 0 && D >= 0) {
    const double q = -0.5 * (B + std::copysign(std::sqrt(D), B));
    for (double root : {q / A, q != 0 ? C / q : kNoValue})
      if (std::isfinite(root) && root > a && root < b) consider(root);
  }
  return best;
}

Extremes stressExtremes(const DiscSpring& spring, const DiscFactors& factors, StressOf stress, double sa, double sb) {
  // g(s) = α·s + β·s²: two evaluations give α and β, exactly up to rounding.
  const double g1 = discSpringAt(spring, factors, 1.0).*stress;
  const double g2 = discSpringAt(spring, factors, 2.0).*stress;
  const double beta = (g2 - 2 * g1) / 2;
  const double alpha = g1 - beta;
  Extremes e;
  e.min = e.max = discSpringAt(spring, factors, sa).*stress;
  const auto consider = [&](double s) {
    const double v = discSpringAt(spring, factors, s).*stress;
    e.min = std::min(e.min, v);
    e.max = std::max(e.max, v);
  };
  consider(sb);
  if (beta != 0) {
    const double vertex = -alpha / (2 * beta);
    if (vertex > std::min(sa, sb) && vertex < std::max(sa, sb)) consider(vertex);
  }
  return e;
}

namespace {

double largestAbsSigmaI(const SpringModel& model, double lambdaA, double lambdaB) {
  const Extremes e = stressExtremes(model.disc(), model.factors(), &DiscState::sigmaI, model.deflection(lambdaA),
                                    model.deflection(lambdaB));
  return std::max(std::fabs(e.min), std::fabs(e.max));
}

}  // namespace

double staticSigmaImax(const SpringModel& model) {
  return largestAbsSigmaI(model, 0, model.run().design.lambda1C.value());
}

double releaseSigmaImax(const SpringModel& model) {
  const SpringDesign& d = model.run().design;
  const double lambdaA = d.lambda1A.value();
  return std::max(largestAbsSigmaI(model, d.lambda1B.value(), d.lambda1C.value()),
                  largestAbsSigmaI(model, lambdaA, lambdaA + model.run().lambda1f));
}

namespace {

ReleaseStroke strokeOf(const SpringModel& model, double start, double end) {
  ReleaseStroke stroke;
  stroke.lambda1Start = start;
  stroke.lambda1End = end;
  stroke.lambda1AtF2max = model.argMaxLoad(start, end);
  stroke.F2max = model.releaseForce(model.load(stroke.lambda1AtF2max));
  stroke.lambda2End = model.releaseTravel(end, start);
  return stroke;
}

// σu and σo of a place: the smallest and largest stress over the stroke
// (for a stress that grows over the stroke, the engaged and the released
// value). At the finger root the engaged spring leaves the fingers unloaded
// (σu = 0); the upper stress is that at the stroke's largest release force.
StrokeFatigue fatigueOf(const SpringModel& model, const ReleaseStroke& stroke) {
  StrokeFatigue f;
  const double sa = model.deflection(stroke.lambda1Start), sb = model.deflection(stroke.lambda1End);
  const Extremes ii = stressExtremes(model.disc(), model.factors(), &DiscState::sigmaII, sa, sb);
  const Extremes iii = stressExtremes(model.disc(), model.factors(), &DiscState::sigmaIII, sa, sb);
  f.places[0].sigmaU = ii.min;
  f.places[0].sigmaO = ii.max;
  f.places[1].sigmaU = iii.min;
  f.places[1].sigmaO = iii.max;
  f.places[2].sigmaU = 0;
  f.places[2].sigmaO = model.fingerStress(stroke.F2max);
  const AnalysisParams& p = model.params();
  double least = kInfinity;
  for (std::size_t i = 0; i < f.places.size(); ++i) {
    FatiguePlace& place = f.places[i];
    place.sigmaOPermissible = p.sigmaO0 + p.fatigueSlope * place.sigmaU;
    place.safety = place.sigmaO > 0 ? place.sigmaOPermissible / place.sigmaO : kInfinity;
    place.life = fatigueLife(p, place.sigmaU, place.sigmaO);
    if (place.safety < least) {
      least = place.safety;
      f.governing = static_cast<int>(i);
    }
  }
  // The shortest life: a life below the lines before any estimate, then the fewest cycles.
  const auto shorter = [](const FatigueLife& a, const FatigueLife& b) {
    const auto rank = [](const FatigueLife& l) { return l.kind == FatigueLife::Kind::Below ? 0 : l.kind == FatigueLife::Kind::Estimated ? 1 : 2; };
    return rank(a) != rank(b) ? rank(a) < rank(b) : a.cycles < b.cycles;
  };
  f.shortestLife = f.governing;
  for (std::size_t i = 0; i < f.places.size(); ++i)
    if (shorter(f.places[i].life, f.shortestLifePlace().life)) f.shortestLife = static_cast<int>(i);
  return f;
}

}  // namespace

StaticChecks staticChecksOf(const SpringModel& model, double F2maxNew, double F2maxWorn) {
  // Over 0 ... λ1C: |σOM| grows with s, |σI| is largest at an end or at the
  // vertex of its quadratic in s.
  const AnalysisParams& params = model.params();
  const double sC = model.deflection(model.run().design.lambda1C.value());
  StaticChecks c;
  const Extremes om = stressExtremes(model.disc(), model.factors(), &DiscState::sigmaOM, 0, sC);
  c.sigmaOMmax = std::max(std::fabs(om.min), std::fabs(om.max));
  c.sigmaImax = staticSigmaImax(model);
  c.sigmaFingerMax = model.fingerStress(std::max(F2maxNew, F2maxWorn));
  c.omPass = c.sigmaOMmax <= params.Rm;
  c.iPass = c.sigmaImax <= params.sigmaAllow;
  c.fingerPass = c.sigmaFingerMax <= params.sigmaAllowF;
  const SpringDesign& d = model.run().design;
  c.installedS = std::min(model.deflection(d.lambda1B.value()), model.deflection(d.lambda1A.value()));
  c.minimumS = kMinimumPreloadRatio * model.disc().h0;
  c.preloadPass = c.installedS >= c.minimumS;
  return c;
}

StaticChecks staticChecksOf(const SpringModel& model) {
  const SpringDesign& d = model.run().design;
  const double lambdaA = d.lambda1A.value();
  return staticChecksOf(model, strokeOf(model, d.lambda1B.value(), d.lambda1C.value()).F2max,
                        strokeOf(model, lambdaA, lambdaA + model.run().lambda1f).F2max);
}

SpringAnalysis analyseSpring(const CurveRun& run, const AnalysisParams& params) {
  SpringAnalysis a;
  const SpringModel model(run, params);
  if (!model.problem().empty()) {
    a.error = model.problem();
    return a;
  }
  const SpringDesign& d = run.design;
  const double lambdaB = d.lambda1B.value(), lambdaA = d.lambda1A.value(), lambdaC = d.lambda1C.value();
  if (!finite({lambdaB, lambdaA, lambdaC}) || !d.lambda1C.isSet()) {
    a.error = "the curve run found no working point";
    return a;
  }
  const double lambdas[] = {d.lambda1M.value(), run.lambda1N, d.lambda1H.value(), lambdaB, lambdaA, lambdaC};
  for (std::size_t i = 0; i < a.points.size(); ++i) a.points[i] = model.at(lambdas[i]);

  a.newStroke = strokeOf(model, lambdaB, lambdaC);
  a.wornStroke = strokeOf(model, lambdaA, lambdaA + run.lambda1f);
  a.points[3].lambda2 = model.releaseTravel(lambdaB, lambdaB);
  a.points[5].lambda2 = model.releaseTravel(lambdaC, lambdaB);
  a.points[4].lambda2 = model.releaseTravel(lambdaA, lambdaA);
  a.kf = model.fingerStiffness();

  a.checks = staticChecksOf(model, a.newStroke.F2max, a.wornStroke.F2max);

  a.fatigueNew = fatigueOf(model, a.newStroke);
  a.fatigueWorn = fatigueOf(model, a.wornStroke);
  return a;
}

}  // namespace diaspring

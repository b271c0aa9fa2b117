#include "compare/design_curve.h"

#include <algorithm>
#include <cmath>

#include "runtime/convert.h"
#include "runtime/fault.h"
#include "model/points.h"
#include "window/fault_cause.h"

namespace diaspring::compare {
namespace {

bool readNumber(const DesignInputs& in, const char* key, double& out, std::string& error) {
  const auto box = inputBoxOfKey(key);
  const std::string& text = in.text(*box);
  try {
    out = val(text).value();
  } catch (const Fault&) {
    out = NAN;
  }
  if (!std::isfinite(out)) {
    const std::string cause = curveFaultCause(in, Fault(FaultKind::Overflow));
    error = !cause.empty() ? cause : std::string("the text of ") + key + " ('" + text + "') is not a number";
    return false;
  }
  return true;
}

// The cause the window's curve run gives for this design, or `otherwise`.
std::string causeOf(const DesignInputs& in, FaultKind kind, std::string otherwise) {
  std::string cause = curveFaultCause(in, Fault(kind));
  return cause.empty() ? otherwise : cause;
}

}  // namespace

double DesignCurve::load(double lambda1) const { return search::LoadLaw(g, clutch.E, clutch.mu)(lambda1); }

double DesignCurve::lambdaEnd() const { return 1.08 * std::max(p.lambda1N, p.lambda1C); }

std::vector<XY> DesignCurve::samples(int count) const {
  const search::LoadLaw law(g, clutch.E, clutch.mu);
  std::vector<XY> out;
  out.reserve(static_cast<std::size_t>(count) + 1);
  const double end = lambdaEnd();
  for (int i = 0; i <= count; ++i) {
    const double l = end * i / count;
    out.emplace_back(l, law(l));
  }
  return out;
}

DesignCurve designCurve(const DesignInputs& in, std::string name) {
  DesignCurve c;
  c.name = std::move(name);
  double h, HoverH, R, RoverR;
  search::ClutchData& k = c.clutch;
  const bool read = readNumber(in, "h", h, c.error) && readNumber(in, "HoverH", HoverH, c.error) &&
                    readNumber(in, "R", R, c.error) && readNumber(in, "RoverR", RoverR, c.error) &&
                    readNumber(in, "E", k.E, c.error) && readNumber(in, "mu", k.mu, c.error) &&
                    readNumber(in, "F", k.F, c.error) && readNumber(in, "D", k.D, c.error) &&
                    readNumber(in, "d", k.d, c.error) && readNumber(in, "r0", k.r0, c.error) &&
                    readNumber(in, "rf", k.rf, c.error) && readNumber(in, "dLambda", k.dLambda, c.error) &&
                    readNumber(in, "lambda1f", k.lambda1f, c.error);
  if (!read) return c;
  try {
    c.g = search::captureGeometry(in.text(*inputBoxOfKey("h")), in.text(*inputBoxOfKey("HoverH")),
                                  in.text(*inputBoxOfKey("R")), in.text(*inputBoxOfKey("RoverR")));
  } catch (const Fault& f) {
    c.error = causeOf(in, f.kind(), "the geometry cannot be formed from h, H/h, R and R/r");
    return c;
  }
  const search::LoadLaw law(c.g, k.E, k.mu);
  if (!law.valid()) {
    c.error = causeOf(in, FaultKind::InvalidOperation,
                      "the load law cannot be evaluated for this design (R/r, R1 - r1 or μ out of range)");
    return c;
  }
  const auto p = search::findWorkingPoints(law, k.dLambda, k.lambda1f);
  if (!p) {
    // The window's run stops at the peak's search when the law has no
    // stationary point within its 10 mm sweep, else at the valley's.
    double roots[2];
    const bool peak = law.stationaryPoints(roots) > 0 && roots[0] < 10;
    c.error = causeOf(in, FaultKind::PointNotFound, peak ? kNoValleyCause : kNoPeakCause);
    return c;
  }
  c.p = *p;
  const double ls[6] = {p->lambda1M, p->lambda1N, p->lambda1H, p->lambda1B, p->lambda1A, p->lambda1C};
  for (std::size_t i = 0; i < 6; ++i) c.points[i] = {ls[i], law(ls[i])};
  return c;
}

}  // namespace diaspring::compare

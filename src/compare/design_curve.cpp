#include "compare/design_curve.h"

#include <algorithm>
#include <cmath>

#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "runtime/fault.h"
#include "model/points.h"
#include "window/fault_cause.h"

namespace diaspring::compare {
namespace {

struct Unread {};  // stops the reading at the first box that holds no number

// The number of a box; at a text that is no finite number, the window's
// cause (or one naming the input) in `error`, and Unread.
double readNumber(const DesignInputs& in, TextBox box, std::string& error) {
  const std::string& text = in.text(box);
  double out;
  try {
    out = val(text).value();
  } catch (const Fault&) {
    out = NAN;
  }
  if (!std::isfinite(out)) {
    const std::string cause = curveFaultCause(in, Fault(FaultKind::Overflow));
    error = !cause.empty() ? cause : std::string("the text of ") + inputFrameBox(box)->name + " ('" + text + "') is not a number";
    throw Unread{};
  }
  return out;
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
  const auto read = [&](TextBox box) { return readNumber(in, box, c.error); };
  try {
    // The geometry's four numbers are read only to name the first that is none.
    for (const char* key : {"h", "HoverH", "R", "RoverR"}) read(*inputBoxOfKey(key));
    c.clutch = readClutchData(read);
  } catch (const Unread&) {
    return c;
  }
  const ClutchData& k = c.clutch;
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

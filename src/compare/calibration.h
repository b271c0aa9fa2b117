#pragma once
// A measured curve against the current design: the deviations at the
// working point B and the worn-lining point A, the RMS deviation over the
// loading branch, and the calibration of the idealised load law to the
// measured loading branch.

#include "compare/design_curve.h"
#include "compare/measured_curve.h"

namespace diaspring::compare {

struct Deviation {
  double newton = NAN;   // measured − computed, N; NaN where λ1 was not measured
  double percent = NAN;  // of the computed load
};

// The effective thickness h and cone height H for which the load law, with
// R, r, E and μ of the design kept, fits the measured loading branch best
// in the least-squares sense (Levenberg-Marquardt on the two unknowns,
// each step solved by Eigen's QR). It fits the idealised law: what the law
// leaves out (support radii, fingers, friction) is absorbed into h and H.
struct Calibration {
  bool converged = false;
  double h = NAN, H = NAN;
  double rms = NAN;  // N, of the fitted law over the loading branch
  int iterations = 0;
};

struct MeasuredComparison {
  Deviation atB, atA;
  double rms = NAN;  // N, measured − computed over the loading branch
  int overlap = 0;   // loading points the RMS is over
  Calibration fit;
};

Calibration calibrate(const DesignCurve& design, const MeasuredCurve& measured);
MeasuredComparison compareMeasured(const DesignCurve& design, const MeasuredCurve& measured);

}  // namespace diaspring::compare

#pragma once
// A measured curve against the current design: the deviations at the
// working point B and the worn-lining point A, the RMS deviation over the
// loading branch, and the calibration of the idealised load law to the
// measured loading branch.

#include "compare/design_curve.h"
#include "compare/measured_curve.h"

#include <cmath>
#include <string>

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
//
// A fit the data cannot determine is refused, with the reason (`why`, and
// `whyZh` for the window), and h, H and the RMS are then NaN: fewer than
// kMinFitPoints loading points, loads all zero, numbers beyond what the law
// can be evaluated with, no convergence, an h or H outside the spring
// (at or below 0, or beyond the ring's width R − r), a singular Jacobian, a
// standard uncertainty as large as the value, or data a straight line through
// the origin fits as well as the law (no curvature to tell H from h).
//
// The uncertainties are standard errors from the covariance of the
// linearised least-squares problem at the fit, s² (JᵀJ)⁻¹ with
// s² = RSS / (n − 2) (e.g. Seber & Wild, "Nonlinear Regression", Wiley 1989,
// section 2.1): they hold for independent errors of one scatter, and say
// nothing of what the idealised law leaves out.
inline constexpr int kMinFitPoints = 5;  // two unknowns and at least three degrees of freedom for s²

struct Calibration {
  bool converged = false;  // a fit was found and is accepted
  double h = NAN, H = NAN;
  double hSigma = NAN, HSigma = NAN;  // standard uncertainties, mm
  double rms = NAN;  // N, of the fitted law over the loading branch
  int iterations = 0;
  std::string why, whyZh;  // why the fit is refused; empty when it is accepted
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

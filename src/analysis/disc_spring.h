#pragma once
// The disc spring of DIN 2092 / DIN EN 16983: load and the stresses at its
// four corners and its centre line for a deflection s, by the method of
// Almen and László as those standards state it (springs without flats,
// loaded at the edges; K4 = 1).
//
//   δ  = De/Di
//   K1 = (1/π)·((δ−1)/δ)² / ((δ+1)/(δ−1) − 2/ln δ)
//   K2 = (6/π)·((δ−1)/ln δ − 1)/ln δ
//   K3 = (3/π)·(δ−1)/ln δ
//   A  = 4E/(1−μ²) · t²/(K1·De²) · (s/t),   Z = h0/t − s/(2t)
//   F  = A·t²·((h0/t − s/t)·Z + 1)
//   σOM  = −A·3/π                     (top face, at the rotation centre of the section)
//   σI   = −A·(K2·Z + K3)             (top face, inner edge)
//   σII  = −A·(K2·Z − K3)             (bottom face, inner edge)
//   σIII = −(A/δ)·((K2 − 2K3)·Z − K3)  (bottom face, outer edge)
//   σIV  = −(A/δ)·((K2 − 2K3)·Z + K3)  (top face, outer edge)
// Lengths mm, forces N, stresses MPa; compression negative.

#include <string>

namespace diaspring {

struct DiscSpring {
  double De = 0;  // outer diameter
  double Di = 0;  // inner diameter
  double t = 0;   // thickness
  double h0 = 0;  // free cone height
  double E = 0;   // Young's modulus
  double mu = 0;  // Poisson's ratio
};

// Why a disc spring cannot be computed (empty when it can): De > Di > 0,
// De/Di ≥ kMinDiscRatio, t > 0, h0 ≥ 0, E > 0, 0 ≤ μ < 1, all finite.
std::string discSpringProblem(const DiscSpring& spring);

// Below this De/Di the formulas lose their precision (see discSpringProblem).
inline constexpr double kMinDiscRatio = 1.0001;
// Outside these, a warning (discSpringWarning): the disc springs of the
// standard series, on which the equations are made and checked, have De/Di
// 1.9 ... 2.0 (DIN EN 16983, series A, B and C). The bounds are this
// program's: well away from those springs.
inline constexpr double kDiscRatioLow = 1.5, kDiscRatioHigh = 3.5;

// A warning for a spring the equations are not made for, or empty.
std::string discSpringWarning(const DiscSpring& spring);

struct DiscFactors {
  double delta = 0, K1 = 0, K2 = 0, K3 = 0;
};
DiscFactors discFactors(double De, double Di);

struct DiscState {
  double F = 0;
  double sigmaOM = 0, sigmaI = 0, sigmaII = 0, sigmaIII = 0, sigmaIV = 0;
};

// The load and stresses at deflection s. The spring must have no problem.
DiscState discSpringAt(const DiscSpring& spring, double s);
DiscState discSpringAt(const DiscSpring& spring, const DiscFactors& factors, double s);

}  // namespace diaspring

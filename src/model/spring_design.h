#pragma once
// The window's one design record and the load law of the diaphragm spring.

#include "runtime/num.h"

namespace diaspring {

// Every field but RoverR starts unset and reads as 0 in arithmetic.
struct SpringDesign {
  Num R;             // outer radius, mm
  Num r;             // inner radius of the conical ring, mm
  Num R1;            // large-end load radius, R - 2, mm
  Num r1;            // support-ring radius, r + 2, mm
  Num H;             // free cone height, mm
  Num h;             // sheet thickness, mm
  Num E;             // Young's modulus, MPa
  Num mu;            // Poisson's ratio
  Num lambda1B;      // working point B, 0.91 of the inflection deflection, mm
  Num lambda1M;      // peak M, mm
  Num lambda1A;      // worn-lining point A, lambda1B - wear allowance, mm
  Num lambda1C;      // release point C, lambda1B + release travel, mm
  Num lambda1H;      // inflection point H, midway between M and N, mm
  Num lambdaSweep;   // running deflection of the trace and the searches, mm
  Num peakProbe1;    // lambdaSweep + 0.001 in the peak search
  Num peakProbe2;    // lambdaSweep + 0.002 in the peak search
  Num valleyProbe1;  // lambdaSweep + 0.001 in the valley search
  Num F1M;           // load at the peak, N
  Num F1N;           // load at the valley, N
  Num valleyProbe2;  // lambdaSweep + 0.002 in the valley search
  Num elasticTerm;   // pi*E*h*lambda1 / (6*(1 - mu^2)), N
  Num geometryTerm;  // logRatio / (R1 - r1)^2, 1/mm^2
  Num heightTerm1;   // H - lambda1*(R - r)/(R1 - r1), mm
  Num logRatio;      // NaturalLog(R / r)
  Num F1Sweep;       // load at the running deflection of the trace, N
  Num heightTerm2;   // H - 0.5*lambda1*(R - r)/(R1 - r1), mm
  Num shapeTerm;     // heightTerm1*heightTerm2 + h^2, mm^2
  Num slopeB;        // F1(lambda1B) / lambda1B, N/mm
  Num hInput;        // thickness as entered, mm
  Num HoverH;        // H/h as entered
  Num RInput;        // outer radius as entered, mm
  Num RoverR{0.0};   // R/r as entered
};

// pi as the load law uses it: the single-precision constant 0x40490FDA
// widened to double, 3.141592502593994140625.
inline constexpr double kLawPi = 3.141592502593994140625;

// The base of NaturalLog: the double nearest 2.718282 (not Euler's number).
inline constexpr double kLogBase = 2.718282;

// ln(x) / ln(2.718282): the logarithm the load law uses. x must be above 0.
Num NaturalLog(Num x);

// The large-end load F1 (N) at the large-end deflection lambda1 (mm), by the
// Almen-Laszlo law for a disc spring supported on r1 and loaded on R1:
//   F1 = [pi E h l / (6 (1 - mu^2))] [ln(R/r) / (R1 - r1)^2]
//        [(H - l (R - r)/(R1 - r1)) (H - l/2 (R - r)/(R1 - r1)) + h^2]
// Stores its six terms in the record as it forms them, in that order.
Num SpringLoad(SpringDesign& d, Num lambda1);

namespace detail {
// The same law evaluated step by step with checked arithmetic; SpringLoad
// falls back on it whenever an operation faults.
Num SpringLoadChecked(SpringDesign& d, Num lambda1);
}  // namespace detail

}  // namespace diaspring

#pragma once
// The clutch data as the window's boxes hold it: the material, the clamp
// load, the friction disc, the release bearing and the travels.

#include "form/controls.h"

namespace diaspring {

struct ClutchData {
  double E = 0, mu = 0;              // Text31, Text32: Young's modulus (MPa), Poisson's ratio
  double F = 0;                      // Text33: the working clamp load, N
  double D = 0, d = 0;               // Text34, Text35: the friction disc's outer and inner diameter, mm
  double r0 = 0;                     // Text36: the inner radius of the spring's small end, mm
  double rf = 0;                     // Text37: the release bearing's contact radius, mm
  double dLambda = 0, lambda1f = 0;  // Text10, Text11: the wear allowance and the release travel, mm
};

// Each member read from its box, in the order of the members: read(box)
// gives the number of a box, or throws to stop at the first it cannot read.
template <class Read>
ClutchData readClutchData(Read read) {
  ClutchData c;
  c.E = read(TextBox::Text31);
  c.mu = read(TextBox::Text32);
  c.F = read(TextBox::Text33);
  c.D = read(TextBox::Text34);
  c.d = read(TextBox::Text35);
  c.r0 = read(TextBox::Text36);
  c.rf = read(TextBox::Text37);
  c.dLambda = read(TextBox::Text10);
  c.lambda1f = read(TextBox::Text11);
  return c;
}

}  // namespace diaspring

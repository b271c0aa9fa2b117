#pragma once
// The characteristic points of the curve: peak M, valley N, inflection H,
// working point B; then the worn-lining point A and the release point C.

#include <span>

#include "chart/surface.h"
#include "model/spring_design.h"
#include "form/fields.h"

namespace diaspring {

// The curve F1(lambda1) as red points at lambda1 = 0, 0.001, ... up to 10:
// the running deflection accumulates 0.001 in double precision, so the last
// of the 10,001 points lies at 9.999999999999897.
void TraceCurve(SpringDesign& d, Surface& chart);

// The six characteristic points and the boxes that show them.
struct PointBoxes {
  const char* symbol;  // "M": the load box is captioned F1M=, the deflection box λ1M=
  const char* role;    // "peak"
  const char* roleZh;  // "峰值点"
  TextBox load;
  TextBox deflection;
};
std::span<const PointBoxes> characteristicPoints();  // M, N, H, B, A, C

// Searches the peak and the valley over lambda1 = 0 ... 10 in steps of
// 0.001, puts H midway between them and B at 0.91 of H; writes Text12 to
// Text19 and marks the four points with labels and dashed guides. Returns
// the valley deflection of this run.
// No point of an earlier run is ever used: the run starts with all points of
// the record unset. A search that finds nothing stops the run right after it
// with a PointNotFound fault whose cause says which point is missing, and
// empties the boxes of that point and of every point after it (up to C);
// what was drawn and written before stays.
Num FindWorkingPoints(SpringDesign& d, Fields& fields, Surface& chart);

// From B: A lies the wear allowance (Text10) short of B, C the release
// travel (Text11) beyond it. Writes Text20 to Text23 and draws their marks,
// the green reference line from the origin through B and the blue
// dimension line of the two travels. lambda1N is this run's valley.
void MarkWearAndRelease(SpringDesign& d, Fields& fields, Surface& chart, Num lambda1N);

// The causes of a run whose search finds no peak or no valley (in Chinese,
// as the window shows them); the comparison gives the same.
extern const char* const kNoPeakCause;
extern const char* const kNoValleyCause;

}  // namespace diaspring

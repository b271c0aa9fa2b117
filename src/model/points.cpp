#include "model/points.h"

#include <iterator>

#include "chart/pen.h"
#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring {
namespace {

constexpr PointBoxes kPoints[] = {
    {"M", "peak", "峰值点", TextBox::Text12, TextBox::Text13},
    {"N", "valley", "谷值点", TextBox::Text14, TextBox::Text15},
    {"H", "inflection", "拐点", TextBox::Text16, TextBox::Text17},
    {"B", "working", "工作点", TextBox::Text18, TextBox::Text19},
    {"A", "worn lining", "磨损后工作点", TextBox::Text20, TextBox::Text21},
    {"C", "release", "分离点", TextBox::Text22, TextBox::Text23},
};

constexpr Num kSearchEnd = 10;
constexpr Num kSearchStep = 0.001;
constexpr Num kProbe1 = 0.001;
constexpr Num kProbe2 = 0.002;
constexpr Num kLabelY = -20;  // deflection labels hang just below the axis
constexpr Num kLift = 500;    // point labels stand 500 N above their point

// Labels a point on the curve: its deflection below the axis (shifted left
// by `shift`), its letter above it, its two boxes (deflection first), and
// its vertical guide. Every load on the chart is evaluated afresh.
template <class ShownLoad>
void markPoint(SpringDesign& d, Fields& fields, Pen& pen, Num lambda, Num shift, const char* deflectionLabel,
               const char* letter, TextBox deflectionBox, TextBox loadBox, ShownLoad&& shownLoad) {
  pen.printAt(lambda - shift, kLabelY, deflectionLabel);
  pen.printAt(lambda, SpringLoad(d, lambda) + kLift, letter);
  fields.setText(deflectionBox, format(lambda, "0.000"));
  fields.setText(loadBox, format(shownLoad(), "0.000"));
  pen.verticalGuide(lambda, SpringLoad(d, lambda));
}

// Runs the sweep counter from 0 to 10 in steps of 0.001 (accumulated in
// double precision, 10,001 passes), with two probes 0.001 and 0.002 ahead of
// it. A pass whose four loads (the first probe's evaluated once for each
// comparison) satisfy `accepts` puts the first probe and its load into
// `at` and `load`; the last accepted pass wins.
template <class Accepts>
void searchExtremum(SpringDesign& d, Num SpringDesign::*probe1, Num SpringDesign::*probe2, Accepts accepts, Num& at,
                    Num& load) {
  for (d.lambdaSweep = 0; d.lambdaSweep <= kSearchEnd; d.lambdaSweep = d.lambdaSweep + kSearchStep) {
    d.*probe1 = d.lambdaSweep + kProbe1;
    d.*probe2 = d.lambdaSweep + kProbe2;
    const Num f0 = SpringLoad(d, d.lambdaSweep);
    const Num f1 = SpringLoad(d, d.*probe1);
    const Num f1Again = SpringLoad(d, d.*probe1);
    const Num f2 = SpringLoad(d, d.*probe2);
    if (accepts(f0, f1, f1Again, f2)) {
      at = d.*probe1;
      load = SpringLoad(d, d.*probe1);
    }
  }
}

// Ends the run at a search that found nothing: the boxes of this point and
// of every point after it are emptied, so none shows a value this design
// does not have.
[[noreturn]] void stopAt(Fields& fields, std::size_t point, const char* cause) {
  for (std::size_t i = point; i < std::size(kPoints); ++i) {
    fields.setText(kPoints[i].load, "");
    fields.setText(kPoints[i].deflection, "");
  }
  throw Fault(FaultKind::PointNotFound, cause);
}

}  // namespace

void TraceCurve(SpringDesign& d, Surface& chart) {
  const Num end = 10;
  const Num step = 0.001;
  for (d.lambdaSweep = 0; d.lambdaSweep <= end; d.lambdaSweep = d.lambdaSweep + step) {
    d.F1Sweep = SpringLoad(d, d.lambdaSweep);
    const float x = single(d.lambdaSweep);
    const float y = single(d.F1Sweep);
    chart.pset(x, y, kRed);
  }
}

// Why a run stops when a search finds nothing. A spring of the Almen-Laszlo
// law has a peak and a valley only when H/h exceeds sqrt(2) (Almen and
// Laszlo, "The uniform-section disk spring", Trans. ASME 58 (1936) 305-314):
// below it the load rises all the way.
const char* const kNoPeakCause =
    "此设计的特性曲线在 0–10 mm 内没有峰值点，无法确定谷值点、拐点 H 和工作点 B"
    "（H/h 不大于 √2 ≈ 1.414 时载荷随变形一直上升；峰值点也可能在 10 mm 以外）。"
    "请检查 H/h、膜片厚度和弹性模量后重新计算。";
const char* const kNoValleyCause =
    "此设计的特性曲线在 0–10 mm 内没有谷值点（通常是谷值点在 10 mm 以外），无法确定拐点 H 和工作点 B。"
    "请减小膜片厚度 h 或 H/h，或检查几何尺寸后重新计算。";


std::span<const PointBoxes> characteristicPoints() { return kPoints; }

Num FindWorkingPoints(SpringDesign& d, Fields& fields, Surface& chart) {
  Pen pen(chart);

  // Each run starts with no point known: a design without one must neither
  // show nor check against that of the design before it.
  for (Num SpringDesign::*point : {&SpringDesign::lambda1M, &SpringDesign::F1M, &SpringDesign::F1N,
                                   &SpringDesign::lambda1H, &SpringDesign::lambda1B, &SpringDesign::lambda1A,
                                   &SpringDesign::lambda1C, &SpringDesign::slopeB})
    d.*point = Num();

  // Peak M: the last step where the load rises into the first probe and
  // falls after it.
  searchExtremum(d, &SpringDesign::peakProbe1, &SpringDesign::peakProbe2,
                 [](Num f0, Num f1, Num f1Again, Num f2) { return f0 < f1 && f1Again > f2; }, d.lambda1M, d.F1M);
  if (!d.lambda1M.isSet()) stopAt(fields, 0, kNoPeakCause);
  markPoint(d, fields, pen, d.lambda1M, 0.1, "λ1M", "M", TextBox::Text13, TextBox::Text12, [&d] { return d.F1M; });

  // Valley N: the mirror image. Its deflection belongs to this run only.
  Num lambda1N;
  searchExtremum(d, &SpringDesign::valleyProbe1, &SpringDesign::valleyProbe2,
                 [](Num f0, Num f1, Num f1Again, Num f2) { return f0 > f1 && f1Again < f2; }, lambda1N, d.F1N);
  if (!lambda1N.isSet()) stopAt(fields, 1, kNoValleyCause);
  markPoint(d, fields, pen, lambda1N, 0.25, "λ1N", "N", TextBox::Text15, TextBox::Text14, [&d] { return d.F1N; });

  // Inflection H, midway between M and N.
  d.lambda1H = 0.5 * (d.lambda1M + lambda1N);
  markPoint(d, fields, pen, d.lambda1H, 0.15, "λ1H", "H", TextBox::Text17, TextBox::Text16,
            [&d] { return SpringLoad(d, d.lambda1H); });

  // Working point B at 0.91 of the inflection deflection.
  d.lambda1B = 0.91 * d.lambda1H;
  pen.printAt(d.lambda1B - 0.3, kLabelY, "λ1B");
  pen.printAt(-0.25, SpringLoad(d, d.lambda1B), "F1B");
  pen.printAt(d.lambda1B, SpringLoad(d, d.lambda1B) + kLift, "B");
  fields.setText(TextBox::Text19, format(d.lambda1B, "0.000"));
  fields.setText(TextBox::Text18, format(SpringLoad(d, d.lambda1B), "0.000"));
  pen.verticalGuide(d.lambda1B, SpringLoad(d, d.lambda1B));
  pen.horizontalGuide(d.lambda1B, [&d] { return SpringLoad(d, d.lambda1B); });

  return lambda1N;
}

}  // namespace diaspring

#include <string>

#include "chart/pen.h"
#include "model/points.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

constexpr Num kLabelY = -20;        // deflection labels hang just below the axis
constexpr Num kArrowY = 4000;       // arrowheads of the dimension line
constexpr Num kDimensionY = 3800;   // the dimension line itself
constexpr Num kSpanLabelY = 4300;   // the labels of the two spans

}  // namespace

void MarkWearAndRelease(SpringDesign& d, Fields& fields, Surface& chart, Num lambda1N) {
  Pen pen(chart);
  const auto F1 = [&d](Num lambda) { return SpringLoad(d, lambda); };

  // A: the working point after the linings have worn by the allowance.
  const Num dLambda = val(fields.text(TextBox::Text10));
  d.lambda1A = d.lambda1B - dLambda;
  pen.printAt(d.lambda1A - 0.2, kLabelY, "λ1A");
  pen.printAt(-0.25, F1(d.lambda1A) + 500, "F1A");
  pen.printAt(d.lambda1A - 0.15, F1(d.lambda1A) + 500, "A");
  fields.setText(TextBox::Text21, format(d.lambda1A, "0.000"));
  fields.setText(TextBox::Text20, format(F1(d.lambda1A), "0.000"));
  pen.verticalGuide(d.lambda1A, F1(d.lambda1A));
  pen.horizontalGuide(d.lambda1A, [&] { return F1(d.lambda1A); });

  // The straight line from the origin through B and the release point C.
  // B lies right of the origin: the searches found both M and N, or the
  // run has stopped.
  d.slopeB = F1(d.lambda1B) / d.lambda1B;
  const Num lambda1f = val(fields.text(TextBox::Text11));
  d.lambda1C = d.lambda1B + lambda1f;
  chart.drawWidth(1);
  // Segments of 0.01 mm from the origin up to C, ending where the line
  // leaves the chart.
  const float end = single(d.lambda1C);
  for (float x = 0.0f; x <= end; x += 0.01f) {
    const Num xNext = Num(static_cast<double>(x)) + 0.01;
    if (!pen.segmentOfRun(Num(static_cast<double>(x)), d.slopeB * static_cast<double>(x), xNext, d.slopeB * xNext,
                          kGreen))
      break;
  }
  pen.printAt(d.lambda1C + 0.1, d.slopeB * d.lambda1C, "C'");
  pen.printAt(d.lambda1C + 0.1, F1(d.lambda1C), "C");
  pen.verticalGuide(d.lambda1C, d.slopeB * d.lambda1C);
  fields.setText(TextBox::Text23, format(d.lambda1C, "0.00"));
  fields.setText(TextBox::Text22, format(F1(d.lambda1C), "0.00"));
  pen.printAt(d.lambda1C + 0.1, kLabelY, "λ1C");

  // Dimension line: the wear span from A to B, the release span from B to C.
  pen.printAt(d.lambda1C - 0.15, kArrowY, "→");
  pen.printAt(d.lambda1B - 0.17, kArrowY, "→");
  pen.printAt(d.lambda1A, kArrowY, "←");
  pen.printAt(d.lambda1B, kArrowY, "←");
  pen.line(d.lambda1A, kDimensionY, d.lambda1C, kDimensionY, kBlue);
  pen.printAt(d.lambda1M - 0.35, kSpanLabelY, "Δλ");
  pen.printAt(lambda1N - 0.7, kSpanLabelY, "λ1f");

  // A': where the reference line passes the deflection of A.
  pen.printAt(d.lambda1A - 0.19, (F1(d.lambda1B) / d.lambda1B) * d.lambda1A + 200, "A'");
}

}  // namespace diaspring

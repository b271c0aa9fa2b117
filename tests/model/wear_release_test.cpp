#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "chart/area.h"
#include "support/chart_query.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::faulted;
using testing::horizontalDashesAt;
using testing::opsOf;
using testing::Printed;
using testing::printsOf;
using testing::TestWindow;
using testing::verticalDashesAt;
using Kind = DrawOp::Kind;

float f(double v) { return static_cast<float>(v); }

Printed only(const DisplayList& chart, const char* text) {
  const auto found = printsOf(chart, text);
  EXPECT_EQ(found.size(), 1u) << text;
  return found.empty() ? Printed{0, 0, ""} : found.front();
}

TEST(WearAndRelease, DefaultDesign) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  EXPECT_EQ(w.text(TextBox::Text21), "1.480");
  EXPECT_EQ(w.text(TextBox::Text20), "4851.586");
  EXPECT_EQ(w.text(TextBox::Text23), "4.68");
  EXPECT_EQ(w.text(TextBox::Text22), "3400.73");
  const SpringDesign& d = w.design();
  EXPECT_NEAR(d.lambda1A.value(), 1.48035, 1e-12);
  EXPECT_NEAR(d.lambda1C.value(), 4.68035, 1e-12);
  EXPECT_NEAR(d.slopeB.value(), 1490.92, 0.005);

  EXPECT_NEAR(only(w.chart, "C'").y, 6978.03, 0.01);
  EXPECT_NEAR(only(w.chart, "A'").y, 2207.08 + 200, 0.01);
  EXPECT_FLOAT_EQ(only(w.chart, "Δλ").x, 1.73f);
  EXPECT_FLOAT_EQ(only(w.chart, "λ1f").x, 3.99f);
  EXPECT_EQ(only(w.chart, "λ1f").y, 4300.0f);
  EXPECT_FLOAT_EQ(only(w.chart, "λ1C").x, f(d.lambda1C.value() + 0.1));
  EXPECT_FLOAT_EQ(only(w.chart, "A").x, f(d.lambda1A.value() - 0.15));
  // The drawing ends with the label of A'.
  EXPECT_EQ(w.chart.text(w.chart.ops().back()), "A'");
}

TEST(WearAndRelease, GuidesOfA) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  SpringDesign d = w.design();
  const float loadA = f(SpringLoad(d, d.lambda1A).value());
  const auto vertical = verticalDashesAt(w.chart, f(d.lambda1A.value()));
  ASSERT_EQ(vertical.size(), 17u);
  EXPECT_EQ(vertical.back().y1, 4800.0f);
  EXPECT_EQ(vertical.back().y2, 4950.0f);
  const auto horizontal = horizontalDashesAt(w.chart, loadA);
  ASSERT_EQ(horizontal.size(), 10u);  // t = 0, 0.15, ... 1.35 <= 1.48035
  EXPECT_NEAR(horizontal.back().x1, 1.35f, 1e-6f);
}

TEST(WearAndRelease, ReferenceAndDimensionLines) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  const SpringDesign& d = w.design();
  const auto widths = opsOf(w.chart, Kind::DrawWidth);
  ASSERT_EQ(widths.size(), 1u);
  EXPECT_EQ(widths[0].x1, 1.0f);

  std::vector<DrawOp> green, blue;
  for (const DrawOp& op : opsOf(w.chart, Kind::Line)) {
    if (op.hasColor && op.color == kGreen) green.push_back(op);
    if (op.hasColor && op.color == kBlue && op.y1 == 3800.0f) blue.push_back(op);
  }
  ASSERT_EQ(green.size(), 469u);  // x = 0, 0.01, ... up to 4.68
  EXPECT_EQ(green.front().x1, 0.0f);
  EXPECT_EQ(green.front().y1, 0.0f);
  EXPECT_FLOAT_EQ(green.front().y2, f(d.slopeB.value() * 0.01));
  EXPECT_LE(green.back().x1, f(d.lambda1C.value()));
  EXPECT_GT(green.back().x2, f(d.lambda1C.value()));
  for (const DrawOp& op : green) ASSERT_NEAR(op.y1, d.slopeB.value() * op.x1, 1e-3);

  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0].x1, f(d.lambda1A.value()));
  EXPECT_EQ(blue[0].x2, f(d.lambda1C.value()));

  const auto right = printsOf(w.chart, "→");
  const auto left = printsOf(w.chart, "←");
  ASSERT_EQ(right.size(), 2u);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(right[0].x, f(d.lambda1C.value() - 0.15));
  EXPECT_EQ(right[1].x, f(d.lambda1B.value() - 0.17));
  EXPECT_EQ(left[0].x, f(d.lambda1A.value()));
  EXPECT_EQ(left[1].x, f(d.lambda1B.value()));
  for (const auto& p : {right[0], right[1], left[0], left[1]}) EXPECT_EQ(p.y, 4000.0f);

  // The guide at C reaches C' on the reference line, not C on the curve.
  const auto atC = verticalDashesAt(w.chart, f(d.lambda1C.value()));
  ASSERT_FALSE(atC.empty());
  EXPECT_EQ(atC.back().y1, 6900.0f);
}

TEST(WearAndRelease, TravelsMoveTheirPoints) {
  const struct {
    const char *wear, *release;
    const char *text21, *text23;
  } cases[] = {
      {"0", "1.6", "3.080", "4.68"},      // A on B
      {"abc", "1.6", "3.080", "4.68"},    // no number reads as 0
      {"1.6", "0", "1.480", "3.08"},      // C on B
      {"4", "1.6", "-0.920", "4.68"},     // A left of the load axis
      {"0.200", "3.000", "2.880", "6.08"},
  };
  for (const auto& c : cases) {
    TestWindow w;
    w.type(TextBox::Text10, c.wear);
    w.type(TextBox::Text11, c.release);
    ASSERT_FALSE(w.curve()) << c.wear << " " << c.release;
    EXPECT_EQ(w.text(TextBox::Text21), c.text21) << c.wear;
    EXPECT_EQ(w.text(TextBox::Text23), c.text23) << c.release;
  }
}

TEST(WearAndRelease, CoincidentPointsShareTheirPlaces) {
  TestWindow onB;
  onB.type(TextBox::Text10, "0");
  onB.type(TextBox::Text11, "0");
  ASSERT_FALSE(onB.curve());
  EXPECT_EQ(onB.text(TextBox::Text20), onB.text(TextBox::Text18));
  EXPECT_EQ(only(onB.chart, "C'").x, only(onB.chart, "C").x);
  EXPECT_NEAR(only(onB.chart, "C'").y, only(onB.chart, "C").y, 1e-3);

  TestWindow negative;
  negative.type(TextBox::Text10, "4");
  ASSERT_FALSE(negative.curve());
  SpringDesign d = negative.design();
  EXPECT_LT(only(negative.chart, "λ1A").x, 0.0f);
  EXPECT_TRUE(horizontalDashesAt(negative.chart, f(SpringLoad(d, d.lambda1A).value())).empty());
}

TEST(WearAndRelease, NoValleyStopsBeforeTheWorkingPoint) {
  // A thick, steep cone: the load has a peak inside the sweep but its valley lies beyond 10 mm.
  TestWindow w;
  w.type(TextBox::Text6, "2.5");
  w.type(TextBox::Text4, "4.4");
  w.type(TextBox::Text9, "1.2");
  ASSERT_TRUE(faulted(w.curve(), FaultKind::PointNotFound));
  EXPECT_EQ(w.text(TextBox::Text15), "");
  EXPECT_EQ(w.text(TextBox::Text23), "");
  EXPECT_TRUE(printsOf(w.chart, "λ1f").empty());
  EXPECT_TRUE(printsOf(w.chart, "C").empty());
}

std::vector<DrawOp> greenLine(const DisplayList& chart) {
  std::vector<DrawOp> green;
  for (const DrawOp& op : chart.ops())
    if (op.kind == Kind::Line && op.hasColor && op.color == kGreen) green.push_back(op);
  return green;
}

// Whatever a design's numbers, every line drawn reaches the chart's visible
// area, the guides and the reference line end where they leave it, and a run
// records a bounded number of operations.
TEST(WearAndRelease, DrawingEndsAtTheChartsEdges) {
  const struct Case {
    const char* name;
    std::vector<std::pair<TextBox, const char*>> typed;
    std::size_t greenSegments;  // 0: as many as reach C
    bool guideAtMLeavesTheTop;
  } cases[] = {
      {"the default design", {}, 469, false},
      {"modulus 1e12: loads of gigano newtons", {{TextBox::Text31, "1e12"}}, 1, true},
      {"modulus 1e12, release travel of 10 km", {{TextBox::Text31, "1e12"}, {TextBox::Text11, "1e7"}}, 1, true},
      {"A far right of the chart", {{TextBox::Text10, "-20"}}, 469, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestWindow w;
    for (const auto& [box, text] : c.typed) w.type(box, text);
    ASSERT_FALSE(w.curve());
    EXPECT_LT(w.chart.size(), 11'000u);  // the 10,001 points of the curve and a few hundred more
    for (const DrawOp& op : opsOf(w.chart, Kind::Line))
      ASSERT_TRUE(kChartArea.reaches(op.x1, op.y1, op.x2, op.y2)) << op.x1 << " " << op.y1;

    const SpringDesign& d = w.design();
    const auto green = greenLine(w.chart);
    ASSERT_EQ(green.size(), c.greenSegments);
    if (f(d.lambda1C.value()) > kChartArea.right || f(d.slopeB.value() * d.lambda1C.value()) > kChartArea.top) {
      EXPECT_TRUE(green.back().x2 >= kChartArea.right || green.back().y2 >= kChartArea.top);  // leaves the chart
    }
    const auto atM = verticalDashesAt(w.chart, f(d.lambda1M.value()));
    ASSERT_FALSE(atM.empty());
    EXPECT_EQ(atM.back().y2 >= kChartArea.top, c.guideAtMLeavesTheTop);
    EXPECT_LE(atM.back().y1, kChartArea.top + 150);
  }
}

TEST(WearAndRelease, AbsurdTravelStillEnds) {
  TestWindow w;
  w.type(TextBox::Text11, "1e7");
  ASSERT_FALSE(w.curve());
  // The reference line runs in steps of 0.01 mm up to the chart's right
  // edge (8 mm and the margin of a hundredth of the width) and ends there.
  const auto green = greenLine(w.chart);
  ASSERT_EQ(green.size(), 810u);  // x = 0, 0.01, ... 8.09
  EXPECT_LE(green.back().x1, kChartArea.right + 0.095f);
  EXPECT_GT(green.back().x2, kChartArea.right);
}

}  // namespace
}  // namespace diaspring

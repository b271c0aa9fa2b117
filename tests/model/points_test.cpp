#include <gtest/gtest.h>

#include "support/chart_query.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::horizontalDashesAt;
using testing::opsOf;
using testing::printsOf;
using testing::TestWindow;
using testing::verticalDashesAt;

float f(double v) { return static_cast<float>(v); }

TEST(WorkingPoints, DefaultDesignFillsItsEightBoxes) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  const std::pair<TextBox, const char*> expected[] = {
      {TextBox::Text12, "5175.178"}, {TextBox::Text13, "2.080"}, {TextBox::Text14, "3400.662"},
      {TextBox::Text15, "4.690"},    {TextBox::Text16, "4287.478"}, {TextBox::Text17, "3.385"},
      {TextBox::Text18, "4592.558"}, {TextBox::Text19, "3.080"},
  };
  for (const auto& [box, text] : expected) EXPECT_EQ(w.text(box), text) << textBoxName(box);
  // The stored deflections are the accumulated grid values, not the texts.
  EXPECT_NEAR(w.design().lambda1M.value(), 2.079999999999882, 1e-15);
  EXPECT_NE(w.design().lambda1M.value(), 2.08);
  EXPECT_NEAR(w.design().lambda1B.value(), 3.080349999999901, 1e-15);
  EXPECT_EQ(w.design().lambda1B.value(), 0.91 * w.design().lambda1H.value());
}

TEST(WorkingPoints, LabelsStandAtTheirShiftedDeflections) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  SpringDesign d = w.design();
  const double M = d.lambda1M.value(), H = d.lambda1H.value(), B = d.lambda1B.value();
  const double N = 2 * H - M;  // the valley deflection of this run
  const struct {
    const char* text;
    float x, y;
  } labels[] = {
      {"λ1M", f(M - 0.1), -20},
      {"M", f(M), f(SpringLoad(d, M).value() + 500)},
      {"λ1N", f(N - 0.25), -20},
      {"N", f(N), f(SpringLoad(d, N).value() + 500)},
      {"λ1H", f(H - 0.15), -20},
      {"H", f(H), f(SpringLoad(d, H).value() + 500)},
      {"λ1B", f(B - 0.3), -20},
      {"F1B", -0.25f, f(SpringLoad(d, B).value())},
      {"B", f(B), f(SpringLoad(d, B).value() + 500)},
  };
  for (const auto& l : labels) {
    const auto found = printsOf(w.chart, l.text);
    ASSERT_EQ(found.size(), 1u) << l.text;
    EXPECT_FLOAT_EQ(found[0].x, l.x) << l.text;
    EXPECT_FLOAT_EQ(found[0].y, l.y) << l.text;
  }
}

TEST(WorkingPoints, DashedGuides) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  SpringDesign d = w.design();
  // Vertical guide at M: dashes from 0 to 5100, the last one ending 75 N above the peak.
  const auto atM = verticalDashesAt(w.chart, f(d.lambda1M.value()));
  ASSERT_EQ(atM.size(), 18u);
  EXPECT_EQ(atM.front().y1, 0.0f);
  EXPECT_EQ(atM.back().y1, 5100.0f);
  EXPECT_EQ(atM.back().y2, 5250.0f);
  // Horizontal guide of B: 21 dashes of 0.075 mm from the load axis.
  const auto atB = horizontalDashesAt(w.chart, f(SpringLoad(d, d.lambda1B).value()));
  ASSERT_EQ(atB.size(), 21u);
  EXPECT_EQ(atB.front().x1, 0.0f);
  EXPECT_EQ(atB.front().x2, 0.075f);
  EXPECT_NEAR(atB.back().x1, 3.0, 1e-5);
  EXPECT_LE(atB.back().x1, f(d.lambda1B.value()));
}

// A design whose characteristic rises monotonically has neither peak nor
// valley: after a default run it must show no value of the earlier design.
TEST(WorkingPoints, DesignWithoutPeakShowsNoStaleValues) {
  for (const bool afterDefaultRun : {false, true}) {
    TestWindow w;
    if (afterDefaultRun) {
      ASSERT_FALSE(w.curve());
    }
    const std::size_t from = w.chart.size();
    w.type(TextBox::Text6, "1.3");
    const auto fault = w.curve();
    // B falls on the origin, so the slope of the line through it is 0 / 0.
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->kind(), FaultKind::InvalidOperation);
    EXPECT_NE(fault->cause().find("峰值"), std::string::npos);

    for (TextBox box : {TextBox::Text12, TextBox::Text13, TextBox::Text14, TextBox::Text15})
      EXPECT_EQ(w.text(box), "") << textBoxName(box);
    for (TextBox box : {TextBox::Text16, TextBox::Text17, TextBox::Text18, TextBox::Text19})
      EXPECT_EQ(w.text(box), "0.000") << textBoxName(box);
    // A is drawn and written before the slope through B faults; C keeps what it had.
    EXPECT_EQ(w.text(TextBox::Text21), "-1.600");
    EXPECT_NE(w.text(TextBox::Text20), "");
    EXPECT_EQ(w.text(TextBox::Text23), afterDefaultRun ? "4.68" : "");
    EXPECT_EQ(w.text(TextBox::Text22), afterDefaultRun ? "3400.73" : "");
    EXPECT_FALSE(w.design().lambda1M.isSet());
    EXPECT_FALSE(w.design().F1M.isSet());
    EXPECT_FALSE(w.design().F1N.isSet());

    // Only this run's marks: all four points at the origin.
    DisplayList run;
    for (std::size_t i = from; i < w.chart.size(); ++i) {
      const DrawOp& op = w.chart.ops()[i];
      if (op.kind == DrawOp::Kind::Print) {  // copy this run's labels and lines
        run.setCurrentX(op.x1);
        run.setCurrentY(op.y1);
        run.print(w.chart.text(op));
      } else if (op.kind == DrawOp::Kind::Line) {
        run.line(op.x1, op.y1, op.x2, op.y2, op.hasColor ? std::optional<Color>(op.color) : std::nullopt);
      }
    }
    const std::pair<const char*, float> deflectionLabels[] = {{"λ1M", -0.1f}, {"λ1N", -0.25f}, {"λ1H", -0.15f}, {"λ1B", -0.3f}};
    for (const auto& [text, x] : deflectionLabels) {
      const auto found = printsOf(run, text);
      ASSERT_EQ(found.size(), 1u) << text;
      EXPECT_EQ(found[0].x, x) << text;
      EXPECT_EQ(found[0].y, -20.0f) << text;
    }
    for (const char* letter : {"M", "N", "H", "B"}) {
      const auto found = printsOf(run, letter);
      ASSERT_EQ(found.size(), 1u) << letter;
      EXPECT_EQ(found[0].x, 0.0f) << letter;
      EXPECT_EQ(found[0].y, 500.0f) << letter;
    }
    EXPECT_EQ(printsOf(run, "F1B").at(0).y, 0.0f);
    EXPECT_EQ(printsOf(run, "A").size(), 1u);
    EXPECT_EQ(printsOf(run, "C").size(), 0u);
    EXPECT_TRUE(opsOf(run, DrawOp::Kind::DrawWidth).empty());
    EXPECT_EQ(run.ops().back().kind, DrawOp::Kind::Print);
    EXPECT_EQ(run.text(run.ops().back()), "A");  // the last mark before the fault (A's guides lie left of the axis)
    EXPECT_EQ(verticalDashesAt(run, 0.0f).size(), 4u);  // one dash each for M, N, H and B
    EXPECT_EQ(horizontalDashesAt(run, 0.0f).size(), 1u);
  }
}

}  // namespace
}  // namespace diaspring

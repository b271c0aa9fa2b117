#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/points.h"

#include "support/chart_query.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::faulted;
using testing::horizontalDashesAt;
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

// A search that finds nothing ends the run right after it with the cause in
// the fault, and empties the boxes of that point and every later one: none
// shows a point this design does not have, also after a run of the default
// design. The check then refuses to use the missing working point.
TEST(WorkingPoints, ASearchThatFindsNothingStopsTheRun) {
  const struct Case {
    const char* name;
    std::vector<std::pair<TextBox, const char*>> typed;
    const char* cause;
    std::size_t found;  // points shown before the stop: 0 (no peak) or 1 (M)
  } cases[] = {
      {"no peak: H/h 1.3", {{TextBox::Text6, "1.3"}}, "在 0–10 mm 内没有峰值点", 0},
      {"no peak: H/h 1.41, just below the square root of 2", {{TextBox::Text6, "1.41"}}, "在 0–10 mm 内没有峰值点", 0},
      {"no peak: the peak lies beyond 10 mm", {{TextBox::Text4, "12"}}, "在 0–10 mm 内没有峰值点", 0},
      {"valley beyond 10 mm: h 5", {{TextBox::Text4, "5"}}, "在 0–10 mm 内没有谷值点", 1},
      {"valley beyond 10 mm: a thick, steep cone",
       {{TextBox::Text6, "2.5"}, {TextBox::Text4, "4.4"}, {TextBox::Text9, "1.2"}},
       "在 0–10 mm 内没有谷值点",
       1},
  };
  for (const Case& c : cases) {
    for (const bool afterDefaultRun : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (afterDefaultRun ? ", after a default run" : ""));
      TestWindow w;
      if (afterDefaultRun) {
        ASSERT_FALSE(w.curve());
      }
      for (const auto& [box, text] : c.typed) w.type(box, text);
      const auto fault = w.curve();
      ASSERT_TRUE(faulted(fault, FaultKind::PointNotFound));
      EXPECT_NE(fault->cause().find(c.cause), std::string::npos) << fault->cause();

      const auto points = characteristicPoints();
      for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(w.text(points[i].load).empty(), i >= c.found) << points[i].symbol;
        EXPECT_EQ(w.text(points[i].deflection).empty(), i >= c.found) << points[i].symbol;
      }
      EXPECT_EQ(w.design().lambda1M.isSet(), c.found > 0);
      EXPECT_FALSE(w.design().F1N.isSet());
      EXPECT_FALSE(w.design().lambda1B.isSet());

      // After the curve's last point only the marks of the points found.
      const auto& ops = w.chart.ops();
      std::size_t i = ops.size();
      while (i > 0 && ops[i - 1].kind != DrawOp::Kind::PSet) --i;
      std::vector<std::string> marks;
      for (; i < ops.size(); ++i)
        if (ops[i].kind == DrawOp::Kind::Print) marks.push_back(w.chart.text(ops[i]));
      const std::vector<std::string> expectedMarks = c.found ? std::vector<std::string>{"λ1M", "M"} : std::vector<std::string>{};
      EXPECT_EQ(marks, expectedMarks);

      const auto check = w.check();
      ASSERT_TRUE(faulted(check, FaultKind::PointNotFound));
      EXPECT_NE(check->cause().find("工作点 B"), std::string::npos) << check->cause();
      EXPECT_EQ(w.text(TextBox::Text24), "");
    }
  }
  // Just above the square root of 2 the characteristic has both points.
  TestWindow w;
  w.type(TextBox::Text6, "1.42");
  ASSERT_FALSE(w.curve());
  EXPECT_NE(w.text(TextBox::Text15), "");
}

}  // namespace
}  // namespace diaspring

#include <gtest/gtest.h>

#include "chart/frame.h"
#include "support/chart_query.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::faulted;
using testing::opsOf;
using testing::printsOf;
using testing::TestWindow;
using Kind = DrawOp::Kind;

TEST(ChartFrame, CoordinatesAxesAndTitlesInOrder) {
  DisplayList chart;
  DrawChartFrame(chart);
  const auto& ops = chart.ops();
  ASSERT_GE(ops.size(), 9u);
  EXPECT_EQ(ops[0].kind, Kind::Scale);
  EXPECT_EQ((std::array{ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2}), (std::array{-1.5f, 14000.0f, 8.0f, -1000.0f}));
  const std::array<std::array<float, 4>, 6> axes{{
      {0, 0, 7, 0}, {0, 0, 0, 13000}, {0.1f, 12500, 0, 13000}, {-0.1f, 12500, 0, 13000},
      {6.9f, 200, 7, 0}, {6.9f, -200, 7, 0},
  }};
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const DrawOp& op = ops[1 + i];
    EXPECT_EQ(op.kind, Kind::Line) << i;
    EXPECT_FALSE(op.hasColor) << i;
    EXPECT_EQ((std::array{op.x1, op.y1, op.x2, op.y2}), axes[i]) << i;
  }
  ASSERT_EQ(ops[7].kind, Kind::Print);
  EXPECT_EQ(chart.text(ops[7]), "λ1(mm) ");
  EXPECT_EQ(ops[7].x1, 7.1f);
  EXPECT_EQ(ops[7].y1, 0.0f);
  EXPECT_EQ(chart.text(ops[8]), "F(N)");
  EXPECT_EQ(ops[8].x1, -0.5f);
  EXPECT_EQ(ops[8].y1, 12500.0f);
}

TEST(ChartFrame, TicksAndTheirValues) {
  DisplayList chart;
  DrawChartFrame(chart);
  const auto ticks = opsOf(chart, Kind::Line);
  const auto values = printsOf(chart);
  ASSERT_EQ(ticks.size(), 6u + 7u + 11u);
  ASSERT_EQ(values.size(), 2u + 7u + 11u);
  for (int i = 0; i <= 6; ++i) {
    const DrawOp& tick = ticks[6 + static_cast<std::size_t>(i)];
    const float x = static_cast<float>(i);
    EXPECT_TRUE(tick.hasColor);
    EXPECT_EQ(tick.color, kBlue);
    EXPECT_EQ((std::array{tick.x1, tick.y1, tick.x2, tick.y2}), (std::array{x, 0.0f, x, 150.0f}));
    const auto& label = values[2 + static_cast<std::size_t>(i)];
    EXPECT_EQ(label.text, " " + std::to_string(i) + " ");
    EXPECT_EQ(label.x, static_cast<float>(i - 0.14));
    EXPECT_EQ(label.y, -500.0f);
  }
  for (int j = 1; j <= 11; ++j) {
    const DrawOp& tick = ticks[12 + static_cast<std::size_t>(j)];
    const float y = 1000.0f * static_cast<float>(j);
    EXPECT_EQ(tick.color, kBlue);
    EXPECT_EQ((std::array{tick.x1, tick.y1, tick.x2, tick.y2}), (std::array{0.0f, y, 0.08f, y}));
    const auto& label = values[8 + static_cast<std::size_t>(j)];
    EXPECT_EQ(label.text, " " + std::to_string(1000 * j) + " ");
    EXPECT_EQ(label.x, -1.0f);
    EXPECT_EQ(label.y, y + 200.0f);
  }
}

TEST(CurveTrace, TenThousandAndOneRedPointsFromTheOrigin) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  const auto points = opsOf(w.chart, Kind::PSet);
  ASSERT_EQ(points.size(), 10001u);
  EXPECT_EQ(points.front().x1, 0.0f);
  EXPECT_EQ(points.front().y1, 0.0f);
  EXPECT_EQ(points.back().x1, static_cast<float>(9.999999999999897));
  for (const DrawOp& p : points) ASSERT_EQ(p.color, kRed);
  // The peak of the default curve lies near (2.08, 5175).
  const auto peak = std::max_element(points.begin(), points.begin() + 5000,
                                     [](const DrawOp& a, const DrawOp& b) { return a.y1 < b.y1; });
  EXPECT_NEAR(peak->x1, 2.08, 0.0015);
  EXPECT_NEAR(peak->y1, 5175.18, 0.01);
}

TEST(CurveTrace, SweepCounterAccumulatesItsStep) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  // The searches reuse the counter; each leaves it at the first count past 10.
  EXPECT_EQ(w.design().lambdaSweep.value(), 10.000999999999896);
  // The trace leaves the load of its last point.
  SpringDesign copy = w.design();
  EXPECT_EQ(w.design().F1Sweep.value(), SpringLoad(copy, 9.999999999999897).value());
}

TEST(CurveTrace, FaultsKeepTheFrameAndThePointsBeforeThem) {
  const struct {
    const char* name;
    TextBox box;
    const char* text;
    const char* R;
    FaultKind kind;
    std::size_t points;
  } cases[] = {
      {"empty R/r stops the capture", TextBox::Text9, "", "84.7", FaultKind::DivisionByZero, 0},
      {"mu of 1", TextBox::Text32, "1", "84.7", FaultKind::InvalidOperation, 0},  // 0 / 0 at the origin
      {"R1 equal to r1", TextBox::Text9, "1.05", "84", FaultKind::DivisionByZero, 0},  // r 80.00: R1 = r1 = 82
      {"load beyond the single range", TextBox::Text31, "1e300", "84.7", FaultKind::Overflow, 1},
  };
  for (const auto& c : cases) {
    TestWindow w;
    w.type(c.box, c.text);
    w.type(TextBox::Text7, c.R);
    ASSERT_TRUE(faulted(w.curve(), c.kind)) << c.name;
    EXPECT_EQ(opsOf(w.chart, Kind::Scale).size(), 1u) << c.name;
    EXPECT_EQ(printsOf(w.chart).size(), 20u) << c.name;  // titles and tick values, nothing more
    EXPECT_EQ(opsOf(w.chart, Kind::PSet).size(), c.points) << c.name;
    EXPECT_EQ(w.text(TextBox::Text12), "") << c.name;
  }
}

TEST(CurveTrace, SuccessivePressesDrawOverEachOther) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  const std::size_t once = w.chart.size();
  w.type(TextBox::Text6, "2");
  ASSERT_FALSE(w.curve());
  EXPECT_EQ(opsOf(w.chart, Kind::Cls).size(), 0u);
  EXPECT_EQ(opsOf(w.chart, Kind::PSet).size(), 20002u);
  EXPECT_EQ(opsOf(w.chart, Kind::Scale).size(), 2u);
  EXPECT_EQ(printsOf(w.chart, "λ1(mm) ").size(), 2u);
  EXPECT_EQ(w.chart.ops()[once].kind, Kind::Scale);
}

}  // namespace
}  // namespace diaspring

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chart/display_list.h"
#include "search/tradeoff_chart.h"

namespace diaspring::search {
namespace {

TEST(TradeOffChart, NiceSteps) {
  const std::pair<double, double> cases[] = {{10, 2}, {7, 2}, {0.3, 0.1}, {1300, 500}, {0.011, 0.005}, {1, 0.2}, {0.5, 0.1}};
  for (const auto& [span, step] : cases) EXPECT_DOUBLE_EQ(niceStep(span, 5), step) << span;
}

// Each design is a cross inside the plotted area, the picked one drawn over
// in red; with no designs the chart says so.
TEST(TradeOffChart, EveryDesignIsACrossInsideTheAxes) {
  const std::vector<TradeOffPoint> points = {{0.081, 1972.8, {}}, {0.1, 1600, {}}, {0.1187, 1333.8, {}}, {0.1268, 1203, {}}};
  for (std::optional<std::size_t> picked : {std::optional<std::size_t>(), std::optional<std::size_t>(2)}) {
    DisplayList chart;
    drawTradeOff(chart, points, picked);
    const auto scale = std::find_if(chart.ops().begin(), chart.ops().end(),
                                    [](const DrawOp& op) { return op.kind == DrawOp::Kind::Scale; });
    ASSERT_NE(scale, chart.ops().end());
    std::size_t blue = 0, red = 0;
    for (const DrawOp& op : chart.ops()) {
      if (op.kind != DrawOp::Kind::Line || !op.hasColor) continue;
      EXPECT_TRUE(std::min(op.x1, op.x2) >= scale->x1 && std::max(op.x1, op.x2) <= scale->x2);
      EXPECT_TRUE(std::min(op.y1, op.y2) >= scale->y2 && std::max(op.y1, op.y2) <= scale->y1);
      if (op.color == 0x804000) ++blue;
      if (op.color == 0x0000FF) {
        ++red;
        const float x = op.x1 == op.x2 ? op.x1 : (op.x1 + op.x2) / 2;
        EXPECT_NEAR(x, 11.87f, 0.01f);
      }
    }
    EXPECT_EQ(blue, 2 * points.size());
    EXPECT_EQ(red, picked ? 2u : 0u);
  }
  DisplayList empty;
  drawTradeOff(empty, {});
  EXPECT_TRUE(std::any_of(empty.ops().begin(), empty.ops().end(), [&](const DrawOp& op) {
    return op.kind == DrawOp::Kind::Print && empty.text(op) == "尚无设计";
  }));
}

// With a stress to each design, the least is dark blue, the largest orange,
// the others between; the key names both ends.
TEST(TradeOffChart, CrossesAreColouredByStress) {
  EXPECT_EQ(rampColor(0), 0x804000u);
  EXPECT_EQ(rampColor(1), 0x0060E0u);
  EXPECT_EQ(rampColor(0.5), 0x405070u);
  EXPECT_EQ(rampColor(-3), rampColor(0));
  const std::vector<TradeOffPoint> points = {{0.08, 1970, 1600}, {0.1, 1600, 1500}, {0.12, 1330, 1700}, {0.13, 1200, 1650}};
  DisplayList chart;
  drawTradeOff(chart, points);
  std::vector<std::string> texts;
  std::size_t low = 0, high = 0, middle = 0;
  for (const DrawOp& op : chart.ops()) {
    if (op.kind == DrawOp::Kind::Print) texts.emplace_back(chart.text(op));
    if (op.kind != DrawOp::Kind::Line || !op.hasColor || op.y1 != op.y2 || op.y1 > 1970) continue;  // crosses' bars
    low += op.color == rampColor(0) && op.x1 < 10.5f && op.x2 > 9.5f;
    high += op.color == rampColor(1) && op.x1 < 12.5f && op.x2 > 11.5f;
    middle += op.color == rampColor(0.5) && op.x1 < 8.5f && op.x2 > 7.5f;
  }
  EXPECT_EQ(low, 1u);
  EXPECT_EQ(high, 1u);
  EXPECT_EQ(middle, 1u);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "σImax 1500"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "1700 MPa"), texts.end());
}

}  // namespace
}  // namespace diaspring::search

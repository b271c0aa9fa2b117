#include <gtest/gtest.h>

#include <algorithm>
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
  const std::vector<TradeOffPoint> points = {{0.081, 1972.8}, {0.1, 1600}, {0.1187, 1333.8}, {0.1268, 1203}};
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

}  // namespace
}  // namespace diaspring::search

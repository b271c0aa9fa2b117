#include "chart/frame.h"

#include "chart/area.h"
#include "chart/pen.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

// A number printed on the chart: as Str gives it, followed by a blank.
void printNumber(Surface& chart, float value) { chart.print(strSingle(value) + " "); }

}  // namespace

void DrawChartFrame(Surface& chart) {
  chart.scale(kChartArea.left, kChartArea.top, kChartArea.right, kChartArea.bottom);

  chart.line(0.0f, 0.0f, 7.0f, 0.0f, std::nullopt);          // deflection axis
  chart.line(0.0f, 0.0f, 0.0f, 13000.0f, std::nullopt);      // load axis
  chart.line(0.1f, 12500.0f, 0.0f, 13000.0f, std::nullopt);  // its arrowhead
  chart.line(-0.1f, 12500.0f, 0.0f, 13000.0f, std::nullopt);
  chart.line(6.9f, 200.0f, 7.0f, 0.0f, std::nullopt);  // arrowhead of the deflection axis
  chart.line(6.9f, -200.0f, 7.0f, 0.0f, std::nullopt);
  chart.setCurrentX(7.1f);
  chart.setCurrentY(0.0f);
  chart.print("λ1(mm) ");
  chart.setCurrentX(-0.5f);
  chart.setCurrentY(12500.0f);
  chart.print("F(N)");

  // Deflection ticks 0 ... 6, values hanging below the axis.
  for (float i = 0.0f; i <= 6.0f; i += 1.0f) {
    chart.line(i, 0.0f, i, 150.0f, kBlue);
    chart.setCurrentX(static_cast<float>(static_cast<double>(i) - 0.14));
    chart.setCurrentY(-500.0f);
    printNumber(chart, i);
  }
  // Load ticks 1000 ... 11000 N, values left of the axis.
  for (float j = 1.0f; j <= 11.0f; j += 1.0f) {
    chart.line(0.0f, 1000.0f * j, 0.08f, 1000.0f * j, kBlue);
    chart.setCurrentX(-1.0f);
    chart.setCurrentY(1000.0f * j + 200.0f);
    printNumber(chart, 1000.0f * j);
  }
}

}  // namespace diaspring

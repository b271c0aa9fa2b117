#include "search/tradeoff_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "runtime/convert.h"

namespace diaspring::search {
namespace {

constexpr Color kAxis = 0x000000;
constexpr Color kTick = 0xFF0000;   // blue, as the curve chart's ticks
constexpr Color kPoint = 0x804000;  // dark blue
constexpr Color kFront = 0xC0C0C0;  // light grey
constexpr Color kPicked = 0x0000FF; // red
constexpr Color kHigh = 0x0060E0;   // orange: the largest stress

constexpr double kInfinity = std::numeric_limits<double>::infinity();

float f(double x) { return static_cast<float>(x); }

std::string tickText(double value, double step) {
  const double rounded = std::round(value / step) * step;
  return generalText(Num(std::round(rounded * 1e6) / 1e6));
}

}  // namespace

Color rampColor(double t) {
  t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
  Color c = 0;
  for (int shift : {0, 8, 16}) {
    const double low = (kPoint >> shift) & 0xFF, high = (kHigh >> shift) & 0xFF;
    c |= static_cast<Color>(std::lround(low + t * (high - low))) << shift;
  }
  return c;
}

void drawTradeOff(Surface& chart, std::span<const TradeOffPoint> points, std::optional<std::size_t> picked) {
  double x0 = 0, x1 = 20, y0 = 0, y1 = 2000;  // an empty chart's ranges
  if (!points.empty()) {
    x0 = x1 = points.front().wearRise * 100;
    y0 = y1 = points.front().releaseForceMax;
    for (const TradeOffPoint& p : points) {
      x0 = std::min(x0, p.wearRise * 100);
      x1 = std::max(x1, p.wearRise * 100);
      y0 = std::min(y0, p.releaseForceMax);
      y1 = std::max(y1, p.releaseForceMax);
    }
  }
  // Ranges rounded out to whole ticks, never of zero width.
  constexpr double kSlack = 1.0000001;
  const double xStep = niceStep(std::max(x1 - x0, 1e-3 * std::max(1.0, std::fabs(x0))), 5, kSlack);
  const double yStep = niceStep(std::max(y1 - y0, 1e-3 * std::max(1.0, std::fabs(y0))), 5, kSlack);
  x0 = std::floor(x0 / xStep) * xStep;
  x1 = std::ceil(x1 / xStep) * xStep;
  y0 = std::floor(y0 / yStep) * yStep;
  y1 = std::ceil(y1 / yStep) * yStep;
  if (x1 <= x0) x1 = x0 + xStep;
  if (y1 <= y0) y1 = y0 + yStep;
  const double w = x1 - x0, h = y1 - y0;

  chart.cls();
  chart.drawWidth(1);
  chart.scale(f(x0 - 0.16 * w), f(y1 + 0.14 * h), f(x1 + 0.06 * w), f(y0 - 0.16 * h));
  chart.line(f(x0), f(y0), f(x1), f(y0), kAxis);
  chart.line(f(x0), f(y0), f(x0), f(y1), kAxis);
  for (double x = x0; x <= x1 + 1e-9 * w; x += xStep) {
    chart.line(f(x), f(y0), f(x), f(y0 + 0.02 * h), kTick);
    chart.setCurrentX(f(x - 0.02 * w));
    chart.setCurrentY(f(y0 - 0.03 * h));
    chart.print(tickText(x, xStep));
  }
  for (double y = y0; y <= y1 + 1e-9 * h; y += yStep) {
    chart.line(f(x0), f(y), f(x0 + 0.012 * w), f(y), kTick);
    chart.setCurrentX(f(x0 - 0.14 * w));
    chart.setCurrentY(f(y + 0.04 * h));
    chart.print(tickText(y, yStep));
  }
  chart.setCurrentX(f(x0 + 0.3 * w));
  chart.setCurrentY(f(y0 - 0.09 * h));
  chart.print("磨损后压紧力增量 (%)");
  chart.setCurrentX(f(x0 - 0.14 * w));
  chart.setCurrentY(f(y1 + 0.12 * h));
  chart.print("最大分离力 F2max (N)");
  if (points.empty()) {
    chart.setCurrentX(f(x0 + 0.4 * w));
    chart.setCurrentY(f(y0 + 0.55 * h));
    chart.print("尚无设计");
    return;
  }

  for (std::size_t i = 1; i < points.size(); ++i)
    chart.line(f(points[i - 1].wearRise * 100), f(points[i - 1].releaseForceMax), f(points[i].wearRise * 100),
               f(points[i].releaseForceMax), kFront);
  const double dx = 0.012 * w, dy = 0.022 * h;
  const auto cross = [&](const TradeOffPoint& p, double size, Color color) {
    const double x = p.wearRise * 100, y = p.releaseForceMax;
    chart.line(f(x - size * dx), f(y), f(x + size * dx), f(y), color);
    chart.line(f(x), f(y - size * dy), f(x), f(y + size * dy), color);
  };
  double sLow = kInfinity, sHigh = -kInfinity;
  for (const TradeOffPoint& p : points)
    if (p.stress && std::isfinite(*p.stress)) {
      sLow = std::min(sLow, *p.stress);
      sHigh = std::max(sHigh, *p.stress);
    }
  const auto colourOf = [&](const TradeOffPoint& p) {
    if (!p.stress || !(sHigh > sLow)) return kPoint;
    return rampColor((*p.stress - sLow) / (sHigh - sLow));
  };
  for (const TradeOffPoint& p : points) cross(p, 1, colourOf(p));
  if (sLow <= sHigh) {
    // The key: the ramp as a bar of short strokes, its ends named.
    constexpr int kSteps = 12;
    const double left = x0 + 0.62 * w, right = x0 + 0.86 * w, y = y1 + 0.08 * h;
    chart.drawWidth(3);
    for (int i = 0; i < kSteps; ++i)
      chart.line(f(left + (right - left) * i / kSteps), f(y), f(left + (right - left) * (i + 1) / kSteps), f(y),
                 rampColor((i + 0.5) / kSteps));
    chart.drawWidth(1);
    chart.setCurrentX(f(left - 0.2 * w));
    chart.setCurrentY(f(y + 0.035 * h));
    chart.print("σImax " + generalText(Num(std::round(sLow))));
    chart.setCurrentX(f(right + 0.01 * w));
    chart.setCurrentY(f(y + 0.035 * h));
    chart.print(generalText(Num(std::round(sHigh))) + " MPa");
  }
  if (picked && *picked < points.size()) {
    chart.drawWidth(2);
    cross(points[*picked], 1.8, kPicked);
    chart.drawWidth(1);
  }
}

}  // namespace diaspring::search

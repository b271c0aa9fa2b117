#include "analysis/analysis_charts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/convert.h"

namespace diaspring {
namespace {

constexpr Color kGrey = 0xA0A0A0;
constexpr Color kDarkRed = 0x000090;
constexpr int kSamples = 240;

struct Series {
  const char* label;
  Color color;
  std::vector<std::pair<double, double>> points;
};

float f(double v) { return static_cast<float>(v); }

// The plot: a data window inside margins for the tick labels.
class Plot {
 public:
  Plot(Surface& chart, ChartWindow w) : chart_(chart), w_(w) {
    const double dx = w.x1 - w.x0, dy = w.y1 - w.y0;
    chart.cls();
    chart.scale(f(w.x0 - 0.13 * dx), f(w.y1 + 0.10 * dy), f(w.x1 + 0.03 * dx), f(w.y0 - 0.14 * dy));
  }

  void line(double x1, double y1, double x2, double y2, std::optional<Color> color = std::nullopt) {
    chart_.line(f(x1), f(y1), f(x2), f(y2), color);
  }
  void dashed(double x1, double y1, double x2, double y2, Color color) {
    constexpr int kDashes = 40;
    for (int i = 0; i < kDashes; ++i) {
      const double a = static_cast<double>(i) / kDashes, b = (i + 0.5) / kDashes;
      line(x1 + (x2 - x1) * a, y1 + (y2 - y1) * a, x1 + (x2 - x1) * b, y1 + (y2 - y1) * b, color);
    }
  }
  void text(double x, double y, const std::string& t) {
    chart_.setCurrentX(f(x));
    chart_.setCurrentY(f(y));
    chart_.print(t);
  }
  double dx() const { return w_.x1 - w_.x0; }
  double dy() const { return w_.y1 - w_.y0; }

  // Frame, grid ticks with their values, the axis titles.
  void axes(const char* xTitle, const char* yTitle, const char* xPattern, const char* yPattern) {
    chart_.drawWidth(1);
    line(w_.x0, w_.y0, w_.x1, w_.y0);
    line(w_.x0, w_.y0, w_.x0, w_.y1);
    line(w_.x1, w_.y0, w_.x1, w_.y1);
    line(w_.x0, w_.y1, w_.x1, w_.y1);
    const double xs = niceStep(dx(), 6), ys = niceStep(dy(), 6);
    for (double x = std::ceil(w_.x0 / xs) * xs; x <= w_.x1 + 1e-9 * dx(); x += xs) {
      line(x, w_.y0, x, w_.y1, kGrey);
      text(x - 0.02 * dx(), w_.y0 - 0.02 * dy(), format(std::fabs(x) < 1e-9 * dx() ? 0.0 : x, xPattern));
    }
    for (double y = std::ceil(w_.y0 / ys) * ys; y <= w_.y1 + 1e-9 * dy(); y += ys) {
      line(w_.x0, y, w_.x1, y, kGrey);
      text(w_.x0 - 0.12 * dx(), y + 0.03 * dy(), format(std::fabs(y) < 1e-9 * dy() ? 0.0 : y, yPattern));
    }
    if (w_.y0 < 0 && w_.y1 > 0) line(w_.x0, 0, w_.x1, 0);
    text(w_.x1 - 0.08 * dx(), w_.y0 - 0.07 * dy(), xTitle);
    text(w_.x0 - 0.12 * dx(), w_.y1 + 0.09 * dy(), yTitle);
  }

  void curves(const std::vector<Series>& series) {
    chart_.drawWidth(2);
    for (const Series& s : series)
      for (std::size_t i = 1; i < s.points.size(); ++i)
        line(s.points[i - 1].first, s.points[i - 1].second, s.points[i].first, s.points[i].second, s.color);
    chart_.drawWidth(1);
    // The legend along the top, inside the frame.
    double x = w_.x0 + 0.02 * dx();
    for (const Series& s : series) {
      const double y = w_.y1 - 0.05 * dy();
      chart_.drawWidth(2);
      line(x, y, x + 0.04 * dx(), y, s.color);
      chart_.drawWidth(1);
      text(x + 0.05 * dx(), y + 0.03 * dy(), s.label);
      x += (0.09 + 0.012 * static_cast<double>(std::string(s.label).size())) * dx();
    }
  }

 private:
  Surface& chart_;
  ChartWindow w_;
};

ChartWindow windowOf(const std::vector<Series>& series, std::initializer_list<double> extraY) {
  ChartWindow w{kNoValue, kNoValue, kNoValue, kNoValue};
  double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
  for (const Series& s : series)
    for (const auto& [x, y] : s.points) {
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  for (double y : extraY)
    if (std::isfinite(y)) y0 = std::min(y0, y), y1 = std::max(y1, y);
  if (!(x1 > x0)) x0 = 0, x1 = 1;
  if (!(y1 > y0)) y0 = 0, y1 = 1;
  const double yPad = 0.12 * (y1 - y0);  // room for the legend above the curves
  w = {x0, x1, y0 - 0.02 * (y1 - y0), y1 + yPad};
  return w;
}

}  // namespace

ChartWindow drawStressChart(Surface& chart, const SpringModel& model, const SpringAnalysis& a) {
  const double sigmaAllow = model.params().sigmaAllow;
  const double end = 1.05 * std::max({a.points[5].lambda1, a.points[1].lambda1, a.wornStroke.lambda1End});
  std::vector<Series> series = {{"σI", kRed, {}}, {"σII", kBlue, {}}, {"σIII", 0x008000, {}}, {"σIV", 0xC000C0, {}},
                                {"σOM", 0x0080FF, {}}};
  for (int i = 0; i <= kSamples; ++i) {
    const double l = end * i / kSamples;
    const PointState p = model.at(l);
    const double values[] = {p.sigmaI, p.sigmaII, p.sigmaIII, p.sigmaIV, p.sigmaOM};
    for (std::size_t k = 0; k < series.size(); ++k) series[k].points.emplace_back(l, values[k]);
  }
  ChartWindow w = windowOf(series, {-sigmaAllow, sigmaAllow});
  w.x0 = 0;
  Plot plot(chart, w);
  plot.axes("λ1/mm", "σ/MPa", "0.0", "0");
  // The permissible stress, both signs.
  plot.dashed(w.x0, sigmaAllow, w.x1, sigmaAllow, kDarkRed);
  plot.dashed(w.x0, -sigmaAllow, w.x1, -sigmaAllow, kDarkRed);
  plot.text(w.x1 - 0.16 * plot.dx(), sigmaAllow + 0.05 * plot.dy(), "[σ]=" + generalText(sigmaAllow));
  plot.text(w.x1 - 0.16 * plot.dx(), -sigmaAllow + 0.05 * plot.dy(), "-[σ]");
  // The six points.
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    const double l = a.points[i].lambda1;
    if (!std::isfinite(l)) continue;
    plot.dashed(l, w.y0, l, w.y1 - 0.1 * plot.dy(), kGrey);
    // Three heights, so that neighbours (N and C lie close) do not overprint.
    plot.text(l - 0.01 * plot.dx(), w.y0 + (0.05 + 0.04 * static_cast<double>(i % 3)) * plot.dy(), kPointSymbols[i]);
  }
  plot.curves(series);
  return w;
}

ChartWindow drawReleaseChart(Surface& chart, const SpringModel& model, const SpringAnalysis& a) {
  std::vector<Series> series = {{"新摩擦片", kBlue, {}}, {"磨损后", kRed, {}}};
  const ReleaseStroke* strokes[] = {&a.newStroke, &a.wornStroke};
  for (std::size_t k = 0; k < 2; ++k) {
    const ReleaseStroke& s = *strokes[k];
    for (int i = 0; i <= kSamples; ++i) {
      const double l = s.lambda1Start + (s.lambda1End - s.lambda1Start) * i / kSamples;
      series[k].points.emplace_back(model.releaseTravel(l, s.lambda1Start), model.releaseForce(model.load(l)));
    }
  }
  ChartWindow w = windowOf(series, {0.0});
  w.x0 = 0;
  w.y0 = 0;
  Plot plot(chart, w);
  plot.axes("λ2/mm", "F2/N", "0.0", "0");
  for (std::size_t k = 0; k < 2; ++k) {
    const ReleaseStroke& s = *strokes[k];
    const double x = model.releaseTravel(s.lambda1AtF2max, s.lambda1Start);
    plot.dashed(x, w.y0, x, s.F2max, series[k].color);
    plot.text(x + 0.01 * plot.dx(), s.F2max + (k == 0 ? 0.07 : 0.13) * plot.dy(),
              "F2max=" + format(s.F2max, "0"));
  }
  plot.curves(series);
  return w;
}

}  // namespace diaspring

#include "compare/comparison_chart.h"

#include <algorithm>
#include <cmath>

#include "runtime/convert.h"

namespace diaspring::compare {
namespace {

constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return (b << 16) | (g << 8) | r; }
constexpr Color kGrid = rgb(0xD8, 0xD8, 0xD8);
constexpr Color kBandHatch = rgb(0xC6, 0xDB, 0xEF);
constexpr Color kWorstCase = rgb(0x60, 0x60, 0x60);
constexpr int kSamples = 200;
constexpr std::size_t kMaxMarkers = 40;

float f(double v) { return static_cast<float>(v); }

// Whether the chart can draw the point: finite and within kMaxDrawn, so that
// it and the frame around it stay within the surface's single precision.
bool drawable(const XY& p) { return std::fabs(p.first) <= kMaxDrawn && std::fabs(p.second) <= kMaxDrawn; }

class Plot {
 public:
  Plot(Surface& s, ChartWindow w) : s_(s), w_(w) {}
  double dx() const { return w_.x1 - w_.x0; }
  double dy() const { return w_.y1 - w_.y0; }
  void line(double x1, double y1, double x2, double y2, Color c) { s_.line(f(x1), f(y1), f(x2), f(y2), c); }
  void text(double x, double y, const std::string& t) {
    s_.setCurrentX(f(x));
    s_.setCurrentY(f(y));
    s_.print(t);
  }
  // A polyline with a dash pattern measured along it in hundredths of the
  // plot's width and height, so patterns look the same on any scale. A
  // point the chart cannot draw (drawable()) leaves a gap; with `clip`, the
  // part of a segment outside the data window is stepped over in one step,
  // so the number of dashes stays bounded however far a segment reaches.
  void polyline(const std::vector<XY>& pts, const CurveStyle& st, bool clip = true) {
    clip_ = clip;
    if (st.dashes.empty()) {
      for (std::size_t i = 1; i < pts.size(); ++i)
        if (drawable(pts[i - 1]) && drawable(pts[i])) segment(pts[i - 1], pts[i], st.color);
      return;
    }
    std::size_t k = 0;
    double left = st.dashes[0];
    bool on = true;
    double period = 0;
    for (float d : st.dashes) period += d;
    // Moves the pattern on by `take`, within the current dash or gap.
    const auto advance = [&](double take) {
      left -= take;
      if (left <= 1e-12) {
        k = (k + 1) % st.dashes.size();
        left = st.dashes[k];
        on = !on;
      }
    };
    // Moves the pattern on by `len` without drawing.
    const auto skip = [&](double len) {
      len = std::fmod(len, period);
      while (len > 0) {
        const double take = std::min(len, left);
        len -= take;
        advance(take);
      }
    };
    for (std::size_t i = 1; i < pts.size(); ++i) {
      XY a = pts[i - 1];
      XY b = pts[i];
      if (!drawable(a) || !drawable(b)) continue;
      double len = std::hypot(100 * (b.first - a.first) / dx(), 100 * (b.second - a.second) / dy());
      double after = 0;  // the length beyond the window, skipped after the visible part
      if (clip_ && !(inside(a.first, a.second) && inside(b.first, b.second))) {
        double t0 = 0, t1 = 1;
        if (!clipToWindow(a, b, t0, t1)) {
          skip(len);
          continue;
        }
        skip(len * t0);
        after = len * (1 - t1);
        const XY from{a.first + (b.first - a.first) * t0, a.second + (b.second - a.second) * t0};
        b = {a.first + (b.first - a.first) * t1, a.second + (b.second - a.second) * t1};
        a = from;
        len *= t1 - t0;
      }
      while (len > 0) {
        const double take = std::min(len, left);
        const double t = take / len;
        const XY mid{a.first + (b.first - a.first) * t, a.second + (b.second - a.second) * t};
        if (on) segment(a, mid, st.color);
        a = mid;
        len -= take;
        advance(take);
      }
      skip(after);
    }
  }
  // A marker of the given shape (0 square, 1 diamond, 2 cross, 3 plus) around a point.
  void marker(double x, double y, int shape, Color c) {
    const double a = 0.008 * dx(), b = 0.014 * dy();
    switch (shape % 4) {
      case 0:
        line(x - a, y - b, x + a, y - b, c), line(x + a, y - b, x + a, y + b, c);
        line(x + a, y + b, x - a, y + b, c), line(x - a, y + b, x - a, y - b, c);
        break;
      case 1:
        line(x - a, y, x, y + b, c), line(x, y + b, x + a, y, c);
        line(x + a, y, x, y - b, c), line(x, y - b, x - a, y, c);
        break;
      case 2:
        line(x - a, y - b, x + a, y + b, c), line(x - a, y + b, x + a, y - b, c);
        break;
      default:
        line(x - a, y, x + a, y, c), line(x, y - b, x, y + b, c);
    }
  }
  bool inside(double x, double y) const { return x >= w_.x0 && x <= w_.x1 && y >= w_.y0 && y <= w_.y1; }

 private:
  // The part t0 … t1 of the segment a → b inside the data window
  // (Liang & Barsky, "A new concept and method for line clipping", ACM TOG
  // 3(1), 1984); false when none of it is.
  bool clipToWindow(const XY& a, const XY& b, double& t0, double& t1) const {
    const double ddx = b.first - a.first, ddy = b.second - a.second;
    const double p[] = {-ddx, ddx, -ddy, ddy};
    const double q[] = {a.first - w_.x0, w_.x1 - a.first, a.second - w_.y0, w_.y1 - a.second};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, t);
      else t1 = std::min(t1, t);
    }
    return t0 < t1;
  }
  void segment(XY a, XY b, Color c) {
    // Clip to the data window by dropping what lies wholly outside it.
    if (clip_ && (std::max(a.first, b.first) < w_.x0 || std::min(a.first, b.first) > w_.x1 ||
        std::max(a.second, b.second) < w_.y0 || std::min(a.second, b.second) > w_.y1))
      return;
    line(a.first, a.second, b.first, b.second, c);
  }
  Surface& s_;
  ChartWindow w_;
  bool clip_ = true;
};

void grow(ChartWindow& w, double x, double y) {
  if (!drawable({x, y})) return;
  w.x0 = std::min(w.x0, x), w.x1 = std::max(w.x1, x), w.y0 = std::min(w.y0, y), w.y1 = std::max(w.y1, y);
}

// Ends the window on whole ticks.
double tickStep(double& lo, double& hi) {
  const double step = niceStep(hi - lo, 7);
  lo = std::floor(lo / step + 1e-9) * step;
  hi = std::ceil(hi / step - 1e-9) * step;
  return step;
}

// The width of a legend text in widths of a Latin letter: a CJK character
// (three UTF-8 bytes) counts two.
// The width of a Latin letter of the chart's text in widths of the plot:
// 10 px at the natural 549 px, a narrow face's letter about 5.6 px, with
// the plot about 60 % of the width when the legend is widest.
constexpr double kLegendLetter = 0.017;

double textWidth(const std::string& s) {
  double w = 0;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    w += len == 3 ? 2 : 1;
    i += len;
  }
  return w;
}

// A legend name in lines of at most kLegendLine letter widths, broken at
// blanks (a word longer than a line anywhere), so the column stays narrow
// enough for the plot and every name shows whole.
constexpr double kLegendLine = 18;
std::vector<std::string> legendLines(const std::string& name) {
  std::vector<std::string> lines(1);
  double width = 0;
  std::size_t lastBlank = std::string::npos;  // in the last line
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    const std::size_t len = std::min(name.size() - i, std::size_t(c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4));
    const std::string glyph = name.substr(i, len);
    i += len;
    const double w = textWidth(glyph);
    if (width + w > kLegendLine && !(glyph == " ")) {
      std::string& line = lines.back();
      std::string rest;
      if (lastBlank != std::string::npos) {
        rest = line.substr(lastBlank + 1);
        line.erase(lastBlank);
      }
      lines.push_back(rest);
      width = textWidth(rest);
      lastBlank = std::string::npos;
    }
    if (glyph == " ") {
      if (lines.back().empty()) continue;  // no line starts with a blank
      lastBlank = lines.back().size();
    }
    lines.back() += glyph;
    width += w;
  }
  return lines;
}

double legendWidth(const std::string& name) {
  double widest = 0;
  for (const std::string& line : legendLines(name)) widest = std::max(widest, textWidth(line));
  return widest;
}

std::string tickText(double v, double step) {
  if (std::fabs(v) < 1e-9 * step) v = 0;
  return format(v, step >= 1 ? "0" : step >= 0.1 ? "0.0" : "0.00");
}

}  // namespace

const CurveStyle& curveStyle(int index) {
  static const CurveStyle styles[kMaxCompared] = {
      {rgb(0x00, 0x00, 0x00), {}, "solid"},
      {rgb(0x00, 0x72, 0xB2), {3.0f, 1.5f}, "dashed"},
      {rgb(0xD5, 0x5E, 0x00), {0.6f, 0.9f}, "dotted"},
      {rgb(0x00, 0x9E, 0x73), {3.0f, 1.0f, 0.6f, 1.0f}, "dash-dot"},
      {rgb(0xCC, 0x79, 0xA7), {6.0f, 2.0f}, "long dash"},
      {rgb(0xE6, 0x9F, 0x00), {3.0f, 1.0f, 0.6f, 1.0f, 0.6f, 1.0f}, "dash-dot-dot"},
      {rgb(0x56, 0xB4, 0xE9), {1.5f, 1.5f}, "short dash"},
      {rgb(0x99, 0x4F, 0x00), {6.0f, 1.0f, 1.5f, 1.0f}, "long dash-dash"},
  };
  return styles[((index % kMaxCompared) + kMaxCompared) % kMaxCompared];
}

namespace {

// The data range of everything the scene shows, from λ1 = 0 and F1 = 0, with
// room above for the point letters, widened to whole tick steps (`xs`, `ys`);
// `samples` gets each design's curve.
ChartWindow sceneWindow(const ComparisonScene& scene, std::vector<std::vector<XY>>& samples, double& xs, double& ys) {
  ChartWindow w{0, 1, 0, 1};
  w.x0 = w.y0 = INFINITY;
  w.x1 = w.y1 = -INFINITY;
  grow(w, 0, 0);
  for (const ShownDesign& d : scene.designs) {
    samples.push_back(d.curve.ok() ? d.curve.samples(kSamples) : std::vector<XY>{});
    for (const XY& p : samples.back()) grow(w, p.first, p.second);
  }
  for (const ShownMeasured& m : scene.measured) {
    for (const XY& p : m.curve.loading) grow(w, p.first, p.second);
    for (const XY& p : m.curve.unloading) grow(w, p.first, p.second);
  }
  if (scene.band) {
    const ShownBand& b = *scene.band;
    for (std::size_t i = 0; i < b.grid.size(); ++i) {
      grow(w, b.grid[i], b.worstUpper[i]);
      grow(w, b.grid[i], b.worstLower[i]);
    }
    for (std::size_t i = 0; i < b.sigmaLower.size(); ++i) {
      grow(w, b.grid[i], b.sigmaUpper[i]);
      grow(w, b.grid[i], b.sigmaLower[i]);
    }
  }
  if (!(w.x1 > w.x0)) w.x1 = w.x0 + 1;
  if (!(w.y1 > w.y0)) w.y1 = w.y0 + 1;
  w.y1 += 0.05 * (w.y1 - w.y0);  // room for the point letters
  xs = tickStep(w.x0, w.x1);
  ys = tickStep(w.y0, w.y1);
  return w;
}

std::string designName(const ShownDesign& d) {
  return d.curve.ok() ? d.curve.name : d.curve.name + " (" + d.curve.error + ")";
}

// Grid, frame, tick values, axis titles.
void drawAxes(Surface& chart, Plot& plot, const ChartWindow& w, double xs, double ys) {
  const double dx = w.x1 - w.x0, dy = w.y1 - w.y0;
  chart.drawWidth(1);
  for (double x = w.x0; x <= w.x1 + 1e-9 * dx; x += xs) {
    plot.line(x, w.y0, x, w.y1, kGrid);
    plot.text(x - 0.015 * dx, w.y0 - 0.015 * dy, tickText(x, xs));
  }
  for (double y = w.y0; y <= w.y1 + 1e-9 * dy; y += ys) {
    plot.line(w.x0, y, w.x1, y, kGrid);
    plot.text(w.x0 - 0.09 * dx, y + 0.025 * dy, tickText(y, ys));
  }
  constexpr Color kAxis = 0;
  plot.line(w.x0, w.y0, w.x1, w.y0, kAxis);
  plot.line(w.x1, w.y0, w.x1, w.y1, kAxis);
  plot.line(w.x1, w.y1, w.x0, w.y1, kAxis);
  plot.line(w.x0, w.y1, w.x0, w.y0, kAxis);
  if (w.y0 < 0 && w.y1 > 0) plot.line(w.x0, 0, w.x1, 0, kAxis);
  plot.text(w.x1 - 0.07 * dx, w.y0 - 0.055 * dy, "λ1/mm");
  plot.text(w.x0 - 0.02 * dx, w.y1 + 0.10 * dy, "F1/N");
}

// The band beneath the curves: the ±3σ range hatched, the worst case
// dashed; whether any hatch was drawn.
bool drawBand(Surface& chart, Plot& plot, const ShownBand& b) {
  bool hatched = false;
  chart.drawWidth(1);
  for (std::size_t i = 0; i < b.sigmaLower.size(); ++i)
    if (drawable({b.grid[i], b.sigmaLower[i]}) && drawable({b.grid[i], b.sigmaUpper[i]})) {
      plot.line(b.grid[i], b.sigmaLower[i], b.grid[i], b.sigmaUpper[i], kBandHatch);
      hatched = true;
    }
  const CurveStyle worst{kWorstCase, {1.2f, 0.8f}, "worst case"};
  std::vector<XY> lo, hi;
  for (std::size_t i = 0; i < b.grid.size(); ++i)
    lo.emplace_back(b.grid[i], b.worstLower[i]), hi.emplace_back(b.grid[i], b.worstUpper[i]);
  plot.polyline(lo, worst);
  plot.polyline(hi, worst);
  return hatched;
}

// A design's curve with its characteristic points, labelled.
void drawDesign(Surface& chart, Plot& plot, const ChartWindow& w, const ShownDesign& d, const std::vector<XY>& samples) {
  const double dx = w.x1 - w.x0, dy = w.y1 - w.y0;
  const CurveStyle& st = curveStyle(d.style);
  chart.drawWidth(2);
  plot.polyline(samples, st);
  chart.drawWidth(1);
  if (!d.curve.ok()) return;
  // Points that nearly coincide (N and C of some designs) share one
  // label, "N,C", rather than printing their letters over each other.
  const auto near = [&](const XY& p, const XY& q) {
    return std::fabs(p.first - q.first) < 0.03 * dx && std::fabs(p.second - q.second) < 0.04 * dy;
  };
  const auto& pts = d.curve.points;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const auto [x, y] = pts[i];
    if (!plot.inside(x, y)) continue;
    plot.marker(x, y, 0, st.color);
    bool labelled = false;
    for (std::size_t j = 0; j < i && !labelled; ++j) labelled = plot.inside(pts[j].first, pts[j].second) && near(pts[j], pts[i]);
    if (labelled) continue;
    std::string label = kPointNames[i];
    for (std::size_t j = i + 1; j < pts.size(); ++j)
      if (plot.inside(pts[j].first, pts[j].second) && near(pts[i], pts[j])) label += std::string(",") + kPointNames[j];
    plot.text(x + 0.006 * dx, y + 0.045 * dy, label);
  }
}

// A measured curve: loading solid, unloading dotted, with thinned markers.
void drawMeasured(Surface& chart, Plot& plot, const ShownMeasured& m) {
  const CurveStyle& st = curveStyle(m.style);
  const CurveStyle thin{st.color, {}, "solid"};
  const CurveStyle back{st.color, {0.6f, 0.9f}, "dotted"};
  chart.drawWidth(1);
  plot.polyline(m.curve.loading, thin);
  plot.polyline(m.curve.unloading, back);
  const auto marks = [&](const std::vector<XY>& pts, int shape) {
    const std::size_t every = std::max<std::size_t>(1, pts.size() / kMaxMarkers);
    for (std::size_t i = 0; i < pts.size(); i += every)
      if (plot.inside(pts[i].first, pts[i].second)) plot.marker(pts[i].first, pts[i].second, shape, st.color);
  };
  marks(m.curve.loading, 2);
  marks(m.curve.unloading, 3);
}

}  // namespace

ComparisonFrame drawComparison(Surface& chart, const ComparisonScene& scene) {
  std::vector<std::vector<XY>> samples;
  double xs = 0, ys = 0;
  const ChartWindow w = sceneWindow(scene, samples, xs, ys);

  ComparisonFrame frame;
  frame.data = w;
  const double dx = w.x1 - w.x0, dy = w.y1 - w.y0;
  frame.left = f(w.x0 - 0.10 * dx);
  frame.top = f(w.y1 + 0.11 * dy);
  // The legend's column, as wide as its longest line.
  double longest = 10;
  for (const ShownDesign& d : scene.designs) longest = std::max(longest, legendWidth(designName(d)));
  for (const ShownMeasured& m : scene.measured) longest = std::max(longest, legendWidth(m.curve.name + " 加载"));
  frame.right = f(w.x1 + (0.14 + kLegendLetter * longest) * dx);
  frame.bottom = f(w.y0 - 0.10 * dy);
  chart.cls();
  chart.scale(frame.left, frame.top, frame.right, frame.bottom);
  Plot plot(chart, w);

  drawAxes(chart, plot, w, xs, ys);

  // Legend entries: a sample of the line and the name, in a column right of the plot.
  double legendY = w.y1;
  const double legendX = w.x1 + 0.03 * dx;
  const auto legend = [&](const CurveStyle& st, const std::string& name, int marker) {
    chart.drawWidth(2);
    plot.polyline({{legendX, legendY - 0.02 * dy}, {legendX + 0.08 * dx, legendY - 0.02 * dy}}, st, false);
    chart.drawWidth(1);
    if (marker >= 0) plot.marker(legendX + 0.04 * dx, legendY - 0.02 * dy, marker, st.color);
    for (const std::string& line : legendLines(name)) {
      plot.text(legendX + 0.10 * dx, legendY, line);
      legendY -= 0.05 * dy;
    }
    legendY -= 0.015 * dy;
  };

  const bool hatched = scene.band && drawBand(chart, plot, *scene.band);
  for (std::size_t k = 0; k < scene.designs.size(); ++k) drawDesign(chart, plot, w, scene.designs[k], samples[k]);
  for (const ShownMeasured& m : scene.measured) drawMeasured(chart, plot, m);

  // The legend last, so it stays readable.
  for (const ShownDesign& d : scene.designs)
    legend(curveStyle(d.style), designName(d), 0);
  for (const ShownMeasured& m : scene.measured) {
    legend({curveStyle(m.style).color, {}, "solid"}, m.curve.name + " 加载", 2);
    if (!m.curve.unloading.empty())
      legend({curveStyle(m.style).color, {0.6f, 0.9f}, "dotted"}, m.curve.name + " 卸载", 3);
  }
  if (scene.band) {
    legend({kWorstCase, {1.2f, 0.8f}, "worst case"}, "公差极限", -1);
    if (hatched) {
      chart.drawWidth(4);
      plot.line(legendX, legendY - 0.02 * dy, legendX + 0.08 * dx, legendY - 0.02 * dy, kBandHatch);
      chart.drawWidth(1);
      plot.text(legendX + 0.10 * dx, legendY, "抽样 ±3σ");
      legendY -= 0.065 * dy;
    }
  }
  return frame;
}

std::vector<std::string> undrawable(const ComparisonScene& scene) {
  std::vector<std::string> out;
  const auto all = [](const std::vector<XY>& pts) { return std::all_of(pts.begin(), pts.end(), drawable); };
  for (const ShownDesign& d : scene.designs)
    if (d.curve.ok() && !all(d.curve.samples(kSamples))) out.push_back(d.curve.name);
  for (const ShownMeasured& m : scene.measured)
    if (!all(m.curve.loading) || !all(m.curve.unloading)) out.push_back(m.curve.name);
  if (scene.band) {
    const ShownBand& b = *scene.band;
    bool ok = true;
    for (const auto* v : {&b.worstLower, &b.worstUpper, &b.sigmaLower, &b.sigmaUpper})
      for (std::size_t i = 0; i < v->size(); ++i) ok = ok && drawable({b.grid[i], (*v)[i]});
    if (!ok) out.emplace_back("the scatter band");
  }
  return out;
}

std::vector<Reading> readoutAt(const ComparisonScene& scene, double lambda1) {
  std::vector<Reading> out;
  for (const ShownDesign& d : scene.designs) out.push_back({d.curve.name, d.curve.ok() ? d.curve.load(lambda1) : NAN});
  for (const ShownMeasured& m : scene.measured) out.push_back({m.curve.name, m.curve.loadingAt(lambda1)});
  return out;
}

}  // namespace diaspring::compare

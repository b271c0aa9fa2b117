// Repainting the chart in the window after 1 and after 100 presses of the
// curve button: a repaint copies the cached raster, whatever the history;
// a full replay (after a resize or a move to a screen of another pixel
// density) paints every operation since the last clear.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "chart_widget.h"
#include "qt_bench_main.h"
#include "render/chart_painter.h"
#include "form/fields.h"
#include "window/window_logic.h"

namespace diaspring {
namespace {

void pressCurve(DisplayList& chart, int presses) {
  MemoryFields fields;
  WindowLogic window(fields, chart);
  for (int i = 0; i < presses; ++i) window.command1Click();
}

void BM_ChartRepaint(benchmark::State& state) {
  app::ChartWidget widget;
  widget.resize(553, 297);
  pressCurve(widget.displayList(), static_cast<int>(state.range(0)));
  widget.chartChanged();
  // Paints the widget the way the window system asks it to, into an image.
  QImage screen(widget.size(), QImage::Format_ARGB32_Premultiplied);
  widget.render(&screen);  // the first paint replays everything into the raster
  const int rebuilds = widget.rasterRebuilds();
  for (auto _ : state) widget.render(&screen);
  if (widget.rasterRebuilds() != rebuilds) state.SkipWithError("a repaint rebuilt the raster");
  state.counters["operations"] = static_cast<double>(widget.displayList().size());
}
BENCHMARK(BM_ChartRepaint)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ChartFullReplay(benchmark::State& state) {
  DisplayList chart;
  pressCurve(chart, static_cast<int>(state.range(0)));
  QImage image(549, 293, QImage::Format_ARGB32_Premultiplied);
  const ChartPainter painter;
  for (auto _ : state) {
    QPainter p(&image);
    painter.paint(p, QRectF(0, 0, 549, 293), chart);
  }
  state.counters["operations"] = static_cast<double>(chart.size());
}
BENCHMARK(BM_ChartFullReplay)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace diaspring

int main(int argc, char** argv) { return diaspring::runQtBenchmarks<QApplication>(argc, argv); }

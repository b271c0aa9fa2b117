// The comparison's production scatter and its chart: 10,000 Monte Carlo
// springs with the band over the curve on one and two threads (target:
// under 0.2 s on two cores), and a full redraw of the comparison chart with
// eight curves and the band, building the drawing and painting it at the
// window's size (target: under 16 ms, one frame).

#include <benchmark/benchmark.h>

#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "compare/comparison.h"
#include "qt_bench_main.h"
#include "render/chart_painter.h"

namespace diaspring {
namespace {

using namespace compare;

void BM_MonteCarlo(benchmark::State& state) {
  const DesignCurve curve = designCurve(DesignInputs(), "current");
  const Tolerances tol = defaultTolerances(curve.g);
  const std::vector<double> grid = bandGrid(curve, kBandSteps);
  for (auto _ : state) {
    const MonteCarlo mc = monteCarlo(curve, tol, grid, 10000, kDefaultSeed, static_cast<unsigned>(state.range(0)));
    benchmark::DoNotOptimize(mc.F1B.sigma);
  }
}
BENCHMARK(BM_MonteCarlo)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole comparison as the window recomputes it after a change.
void BM_WholeComparison(benchmark::State& state) {
  ComparisonInput in;
  in.designs.push_back(designCurve(DesignInputs(), "current"));
  in.tolerances = defaultTolerances(in.designs.front().g);
  in.threads = 2;
  for (auto _ : state) benchmark::DoNotOptimize(runComparison(in).monteCarlo.F1B.mean);
}
BENCHMARK(BM_WholeComparison)->Unit(benchmark::kMillisecond)->UseRealTime();

ComparisonScene eightCurvesAndABand() {
  ComparisonInput in;
  for (const char* h : {"2.2", "2.0", "2.1", "2.3", "2.4", "2.15", "2.25"}) {
    DesignInputs d;
    d.setText(TextBox::Text4, h);
    in.designs.push_back(designCurve(d, std::string("h=") + h));
  }
  MeasuredCurve m;
  m.name = "rig.csv";
  for (int i = 0; i <= 2000; ++i) m.loading.emplace_back(0.0025 * i, in.designs[0].load(0.0025 * i));
  in.measured.push_back(m);
  in.tolerances = defaultTolerances(in.designs.front().g);
  in.samples = 2000;
  return sceneOf(in, runComparison(in));
}

void BM_ComparisonChartRedraw(benchmark::State& state) {
  const ComparisonScene scene = eightCurvesAndABand();
  QImage image(880, 520, QImage::Format_ARGB32_Premultiplied);
  const ChartPainter painter(ChartStyle::smooth());
  std::size_t ops = 0;
  for (auto _ : state) {
    DisplayList list;
    drawComparison(list, scene);
    QPainter p(&image);
    painter.paint(p, QRectF(0, 0, 880, 520), list);
    ops = list.size();
  }
  state.counters["operations"] = static_cast<double>(ops);
}
BENCHMARK(BM_ComparisonChartRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace diaspring

int main(int argc, char** argv) { return diaspring::runQtBenchmarks<QGuiApplication>(argc, argv); }

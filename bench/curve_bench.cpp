// The cost of one press of the curve button, headless, against its floor:
// the bare evaluations of the load law that the press must make (the trace,
// four per step in each of the two searches).

#include <benchmark/benchmark.h>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "model/spring_design.h"
#include "form/fields.h"
#include "window/window_logic.h"

namespace diaspring {
namespace {

SpringDesign capturedDefaultDesign() {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  window.command1Click();
  return window.design();
}

void BM_LoadLawFloor(benchmark::State& state) {
  SpringDesign d = capturedDefaultDesign();
  for (auto _ : state) {
    double sum = 0;
    for (Num l = 0; l <= 10; l = l + 0.001) sum += SpringLoad(d, l).value();
    for (int search = 0; search < 2; ++search) {
      for (Num l = 0; l <= 10; l = l + 0.001) {
        sum += SpringLoad(d, l).value();
        sum += SpringLoad(d, l + 0.001).value();
        sum += SpringLoad(d, l + 0.001).value();
        sum += SpringLoad(d, l + 0.002).value();
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["evaluations"] = 90009;
}
BENCHMARK(BM_LoadLawFloor)->Unit(benchmark::kMillisecond);

// One press as the engineer makes it in a running window: the chart was
// cleared before, so the display list reuses its memory. With `analyse`,
// each press is followed by the strength and release analysis of its run,
// as the headless front end and the analysis window make it.
void pressCurveRepeatedly(benchmark::State& state, bool analyse) {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  for (auto _ : state) {
    window.command2Click();
    chart.discardErased();
    window.command1Click();
    benchmark::DoNotOptimize(chart.size());
    if (analyse) {
      const SpringAnalysis analysis = analyseSpring(curveRunOf(window, fields), AnalysisParams{});
      benchmark::DoNotOptimize(analysis.checks.sigmaImax);
    }
  }
}

void BM_CurveCommand(benchmark::State& state) { pressCurveRepeatedly(state, false); }

// The same followed by the analysis: compare with BM_CurveCommand (the
// analysis should add less than 5 %).
void BM_CurveCommandWithAnalysis(benchmark::State& state) { pressCurveRepeatedly(state, true); }

// One press on a fresh window, display list and all; with `check`, followed
// by a press of the check button.
void pressOnFreshWindow(benchmark::State& state, bool check) {
  for (auto _ : state) {
    MemoryFields fields;
    DisplayList chart;
    WindowLogic window(fields, chart);
    window.command1Click();
    if (check) window.command3Click();
    benchmark::DoNotOptimize(chart.size());
  }
}

// The same on a fresh window.
void BM_CurveCommandFreshWindow(benchmark::State& state) { pressOnFreshWindow(state, false); }

// The analysis alone.
void BM_Analysis(benchmark::State& state) {
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  window.command1Click();
  const CurveRun run = curveRunOf(window, fields);
  for (auto _ : state) {
    const SpringAnalysis analysis = analyseSpring(run, AnalysisParams{});
    benchmark::DoNotOptimize(analysis.checks.sigmaImax);
  }
}
BENCHMARK(BM_CurveCommandFreshWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurveCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurveCommandWithAnalysis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Analysis)->Unit(benchmark::kMicrosecond);

void BM_CurveAndCheck(benchmark::State& state) { pressOnFreshWindow(state, true); }
BENCHMARK(BM_CurveAndCheck)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace diaspring

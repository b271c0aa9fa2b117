// The whole design search with the default clutch data, the window's
// verification of every returned design included, on 1 and 2 threads; and
// the same search on a grid twice as fine in each of H/h, R and R/r (8 times
// the points), to see how much of the front the coarse grid leaves out.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "cli/design_command.h"
#include "compare/production_yield.h"
#include "search/search.h"
#include "search/strength_goals.h"

namespace diaspring {
namespace {

void report(benchmark::State& state, const search::Result& result) {
  state.counters["designs"] = static_cast<double>(result.designs.size());
  state.counters["evaluated"] = static_cast<double>(result.evaluated);
  state.counters["solved"] = static_cast<double>(result.solved);
  state.counters["feasible"] = static_cast<double>(result.feasible);
  state.counters["verified"] = static_cast<double>(result.verified);
}

void BM_Search(benchmark::State& state) {
  search::Options options;
  options.threads = static_cast<unsigned>(state.range(0));
  options.gridDivisions = static_cast<int>(state.range(1));
  search::Result result;
  for (auto _ : state) {
    result = search::runSearch(DesignInputs(), options);
    benchmark::DoNotOptimize(result.designs.data());
  }
  report(state, result);
}
BENCHMARK(BM_Search)->Args({1, 1})->Args({2, 1})->Args({2, 2})->Unit(benchmark::kMillisecond)->UseRealTime();

// Times the search of `base` with `options`, and reports what it found and
// how many designs it finished.
void timeSearch(benchmark::State& state, const DesignInputs& base, const search::Options& options) {
  search::Result result;
  for (auto _ : state) {
    result = search::runSearch(base, options);
    benchmark::DoNotOptimize(result.designs.data());
  }
  report(state, result);
  state.counters["finished"] = static_cast<double>(result.finished);
}

// The search as the command line and the dialog run it: the largest |σI|
// over the release strokes as a third objective, the static check of σI
// against sigmaAllow as a constraint. sigmaAllow at its default (1700 MPa),
// at 1500 MPa, where no spring for the default clutch passes and the search
// explains why, and at 1800 MPa.
void BM_SearchWithStrength(benchmark::State& state) {
  DesignInputs base;
  if (state.range(1) != 0) base.setExtra("sigmaAllow", std::to_string(state.range(1)));
  search::Options options;
  options.threads = static_cast<unsigned>(state.range(0));
  options.gridDivisions = static_cast<int>(state.range(2));
  if (!search::addStrengthGoals(options, base).empty()) state.SkipWithError("analysis inputs");
  timeSearch(state, base, options);
}
BENCHMARK(BM_SearchWithStrength)
    ->ArgNames({"threads", "sigmaAllow", "grid"})
    ->Args({1, 0, 1})
    ->Args({2, 0, 1})
    ->Args({2, 1500, 1})
    ->Args({2, 1800, 1})
    ->Args({2, 0, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The search as the command line runs it by default: with the production
// yield of at least 99 % (the screen on every point, the Monte Carlo on the
// designs about to be returned), for the window's clutch (no design reaches
// it: the search explains) and for a clutch of thicker springs whose front
// holds robust designs; minYield 0 is today's search, for the cost.
void BM_SearchRobust(benchmark::State& state) {
  DesignInputs base;
  if (state.range(1) != 0) {
    for (const auto& [key, text] : {std::pair{"F", "8000"}, {"D", "220"}, {"d", "150"}, {"r0", "22"}, {"rf", "24"}})
      base.setText(*inputBoxOfKey(key), text);
  }
  search::Options options;
  options.threads = static_cast<unsigned>(state.range(0));
  if (!search::addStrengthGoals(options, base).empty() ||
      !compare::addYieldGoals(options, base, static_cast<double>(state.range(2)) / 100).empty())
    state.SkipWithError("analysis inputs");
  timeSearch(state, base, options);
}
BENCHMARK(BM_SearchRobust)
    ->ArgNames({"threads", "thick", "minYieldPercent"})
    ->Args({2, 0, 99})
    ->Args({2, 0, 0})
    ->Args({2, 1, 99})
    ->Args({2, 1, 0})
    ->Args({1, 1, 99})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The automatic design as the user starts it: `diaspring-cli design` with
// the window's defaults (the search at the least yield of 99 %, then, since
// nothing passes for the window's clutch, the openings: the least yield and
// the tolerance that let designs through), and with --min-yield 0; on 1 and
// 2 threads. The openings' searches share the first one's grid.
void BM_DesignCommand(benchmark::State& state) {
  std::vector<std::string> args{"--threads", std::to_string(state.range(0)), "--json"};
  if (state.range(1) == 0) args.insert(args.end(), {"--min-yield", "0"});
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::size_t designs = 0;
  for (auto _ : state) {
    const cli::Outcome outcome = cli::runDesignCommand(views, {});
    designs = outcome.out.size();
    benchmark::DoNotOptimize(designs);
  }
  state.counters["jsonBytes"] = static_cast<double>(designs);
}
BENCHMARK(BM_DesignCommand)
    ->ArgNames({"threads", "minYieldPercent"})
    ->Args({2, 99})
    ->Args({1, 99})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace diaspring

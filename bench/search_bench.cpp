// The whole design search with the default clutch data, the window's
// verification of every returned design included, on 1 and 2 threads; and
// the same search on a grid twice as fine in each of H/h, R and R/r (8 times
// the points), to see how much of the front the coarse grid leaves out.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
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

// Times the search of `base` with `options` on state.range(0) threads, with
// the strength goals and, given `minYield`, the yield goals at that least
// yield; reports what it found and how many designs it finished.
void timeGoalSearch(benchmark::State& state, const DesignInputs& base, search::Options options,
                    std::optional<double> minYield) {
  options.threads = static_cast<unsigned>(state.range(0));
  if (!search::addStrengthGoals(options, base).empty() ||
      (minYield && !compare::addYieldGoals(options, base, *minYield).empty()))
    state.SkipWithError("analysis inputs");
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
  options.gridDivisions = static_cast<int>(state.range(2));
  timeGoalSearch(state, base, options, std::nullopt);
}

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
  timeGoalSearch(state, base, search::Options(), static_cast<double>(state.range(2)) / 100);
}

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
// Each benchmark with the names of its arguments and the arguments of its
// runs, timed in real milliseconds.
struct Runs {
  const char* name;
  void (*run)(benchmark::State&);
  std::vector<std::string> argNames;
  std::vector<std::vector<std::int64_t>> args;
};

[[maybe_unused]] const bool kRegistered = [] {
  const Runs all[] = {
      {"BM_Search", BM_Search, {}, {{1, 1}, {2, 1}, {2, 2}}},
      {"BM_SearchWithStrength", BM_SearchWithStrength, {"threads", "sigmaAllow", "grid"},
       {{1, 0, 1}, {2, 0, 1}, {2, 1500, 1}, {2, 1800, 1}, {2, 0, 2}}},
      {"BM_SearchRobust", BM_SearchRobust, {"threads", "thick", "minYieldPercent"},
       {{2, 0, 99}, {2, 0, 0}, {2, 1, 99}, {2, 1, 0}, {1, 1, 99}}},
      {"BM_DesignCommand", BM_DesignCommand, {"threads", "minYieldPercent"}, {{2, 99}, {1, 99}, {2, 0}}},
  };
  for (const Runs& runs : all) {
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(runs.name, runs.run);
    if (!runs.argNames.empty()) b->ArgNames(runs.argNames);
    for (const std::vector<std::int64_t>& args : runs.args) b->Args(args);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
  }
  return true;
}();

}  // namespace
}  // namespace diaspring

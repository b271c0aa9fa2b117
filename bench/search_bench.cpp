// The whole design search with the default clutch data, the window's
// verification of every returned design included, on 1 and 2 threads; and
// the same search on a grid twice as fine in each of H/h, R and R/r (8 times
// the points), to see how much of the front the coarse grid leaves out.

#include <benchmark/benchmark.h>

#include "search/search.h"

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

}  // namespace
}  // namespace diaspring

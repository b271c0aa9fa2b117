// The headless session's curve press, the same function the page measures
// (bench/session_press.h): compare its time with the page's
// `window.diaspring.benchCore(n)` (tests/web/bench_page.mjs prints both).
#include <benchmark/benchmark.h>

#include "session_press.h"

namespace {

void BM_SessionPress(benchmark::State& state) {
  diaspring::cli::Session session;
  diaspring::bench::pressCurve(session);
  for (auto _ : state) diaspring::bench::pressCurve(session);
}
BENCHMARK(BM_SessionPress)->Unit(benchmark::kMillisecond);

}  // namespace

// Throughput of a parameter study: 10,000 designs, each a curve and a check
// on a fresh window, on one thread and on all cores.

#include <benchmark/benchmark.h>

#include <string>

#include "study/study.h"

namespace diaspring {
namespace {

// A sweep over the four geometry inputs, in the sliders' ranges.
std::string studyFile(int rows) {
  std::string text = "h,HoverH,R,RoverR\n";
  for (int i = 0; i < rows; ++i) {
    text += std::to_string(200 + i % 201) + "e-2," + std::to_string(150 + (i / 7) % 51) + "e-2," +
            std::to_string(760 + (i / 13) % 591) + "e-1," + std::to_string(120 + (i / 17) % 16) + "e-2\n";
  }
  return text;
}

void BM_Study(benchmark::State& state) {
  const StudyInput study = readStudy(studyFile(10000));
  StudyOptions options;
  options.threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(runStudy(study, options));
  state.counters["rows/s"] = benchmark::Counter(10000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Study)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace diaspring

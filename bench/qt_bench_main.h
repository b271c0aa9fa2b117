#pragma once
// The main() of a benchmark that paints with Qt: headless unless a platform
// is chosen, with the application object `App` (QGuiApplication, or
// QApplication for widgets) alive while the benchmarks run.

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace diaspring {

template <class App>
int runQtBenchmarks(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  App app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace diaspring

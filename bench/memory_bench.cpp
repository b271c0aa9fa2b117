// What a press of the curve button keeps. The chart keeps every drawing
// until it is cleared, so a session of many presses of distinct designs
// grows by what one drawing holds: the display list's own bytes, and the
// resident memory of the process (the headless front end's session, which
// the window's chart matches, display list for display list). Counters:
// bytes_per_press (the display list's storage) and rss_per_press (bytes);
// the target is at most 0.15 MB per press for both.
#include <fstream>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "chart/display_list.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

// Resident bytes of this process, from /proc (0 where there is none).
double residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  if (!(statm >> pages >> resident)) return 0;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

constexpr int kPresses = 200;

// kPresses presses, each of its own thickness, as the headless front end
// runs `--set h=... --press Command1` over and over; with `json`, the JSON
// document of the session is rendered at the end as --json does.
void pressDistinctDesigns(benchmark::State& state, bool json) {
  for (auto _ : state) {
    const double before = residentBytes();
    std::size_t listBytes = 0;
    {
      cli::Session session;
      for (int i = 0; i < kPresses; ++i) {
        session.apply(cli::SetText{TextBox::Text4, generalText(Num(2.0 + 0.001 * i))});
        session.apply(cli::Press{Command::Command1});
      }
      listBytes = session.chart().storageBytes();
      if (json) {
        const std::string out = cli::renderJson(session.fields(), session.chart(), session.faults(), nullptr, {});
        benchmark::DoNotOptimize(out.data());
      }
      state.counters["rss_per_press"] = (residentBytes() - before) / kPresses;
    }
    state.counters["bytes_per_press"] = static_cast<double>(listBytes) / kPresses;
  }
}

void BM_MemoryPerPress(benchmark::State& state) { pressDistinctDesigns(state, false); }
void BM_MemoryPerPressWithJson(benchmark::State& state) { pressDistinctDesigns(state, true); }
BENCHMARK(BM_MemoryPerPress)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryPerPressWithJson)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace diaspring

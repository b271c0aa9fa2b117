#pragma once
// Inside the design search: its jobs run on several threads.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>

#include "runtime/thread_group.h"
#include "search/search.h"

namespace diaspring::search {

// Runs job(i) for i in [0, count) on `threads` threads (parallelFor); the
// results land by index, so they do not depend on the number of threads.
// Reports progress from the calling thread; stops taking new jobs once
// cancelled.
template <class Job>
bool runParallel(std::size_t count, unsigned threads, const Options& options, Job&& job) {
  std::atomic<std::size_t> done{0};
  bool over = false;
  std::mutex mutex;
  std::condition_variable finished;
  const auto cancelled = [&] { return options.cancel && options.cancel->load(); };
  const auto work = [&] {
    parallelFor(count, static_cast<unsigned>(std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1))),
                [&](std::size_t i) {
                  if (cancelled()) return;
                  job(i);
                  ++done;
#if !DIASPRING_HAS_THREADS
                  // No thread is left to report while this one works: it reports itself.
                  if (options.progress) options.progress(done.load(), count);
#endif
                });
    std::lock_guard lock(mutex);
    over = true;
    finished.notify_all();
  };
  // The loop runs beside this thread, which reports its progress.
  ThreadGroup loop;
  loop.start(1, work);
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return over; }))
      if (options.progress) options.progress(done.load(), count);
  }
  loop.join();
  if (options.progress) options.progress(done.load(), count);
  return !cancelled() || done.load() == count;
}

}  // namespace diaspring::search

#pragma once
// A group of worker threads that all run the same function and are joined
// when the group ends, and a parallel for-loop on it. Where the platform has
// no threads (WebAssembly built without them), the function runs once on the
// calling thread instead, so code written for many workers runs unchanged on
// one.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define DIASPRING_HAS_THREADS 0
#else
#define DIASPRING_HAS_THREADS 1
#endif

namespace diaspring {

class ThreadGroup {
 public:
  ThreadGroup() = default;
  ThreadGroup(const ThreadGroup&) = delete;
  ThreadGroup& operator=(const ThreadGroup&) = delete;
  ~ThreadGroup() { join(); }

  // Starts `count` threads running `work` (or runs it here, without threads).
  template <class Work>
  void start(unsigned count, const Work& work) {
#if DIASPRING_HAS_THREADS
    for (unsigned i = 0; i < count; ++i) threads_.emplace_back(work);
#else
    (void)count;
    work();
#endif
  }

  void join() {
    for (std::thread& t : threads_)
      if (t.joinable()) t.join();
    threads_.clear();
  }

 private:
  std::vector<std::thread> threads_;
};

// The workers for `requested` threads (0: one for each core) and `jobs`
// pieces of work: at least one, at most one for each piece.
inline unsigned workerCount(unsigned requested, std::size_t jobs) {
  const unsigned wanted = requested ? requested : std::max(1U, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::clamp<std::size_t>(wanted, 1, std::max<std::size_t>(jobs, 1)));
}

// Calls body(i) for every i from 0 to count - 1 on `workers` threads, the
// calling one among them, each taking the next i not yet taken; returns
// when every call has returned. Results written to slot i of a vector are
// the same for any number of workers.
template <class Body>
void parallelFor(std::size_t count, unsigned workers, const Body& body) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < count;) body(i);
  };
  ThreadGroup pool;
  if (workers > 1) pool.start(workers - 1, work);
  work();
}

}  // namespace diaspring

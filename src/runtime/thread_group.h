#pragma once
// A group of worker threads that all run the same function and are joined
// when the group ends. Where the platform has no threads (WebAssembly built
// without them), the function runs once on the calling thread instead, so
// code written for many workers runs unchanged on one.

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

}  // namespace diaspring

#include "ParallelRuns.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// The core in the browser has no threads: the page spreads its runs over Web
// Workers, each running its share here in turn.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define VELMORA_THREADS 0
#else
#define VELMORA_THREADS 1
#endif

namespace Velmora::Lab {

#if !VELMORA_THREADS

unsigned jobsOrCores(std::optional<unsigned>) { return 1; }

void runInParallel(std::size_t count, unsigned, const std::function<void(std::size_t)>& task,
                   const std::function<void(std::size_t done)>& report) {
  for (std::size_t i = 0; i < count; ++i) task(i);
  if (report) report(count);
}

#else

unsigned jobsOrCores(std::optional<unsigned> jobs) {
  return jobs.value_or(std::max(std::thread::hardware_concurrency(), 1u));
}

void runInParallel(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& task,
                   const std::function<void(std::size_t done)>& report) {
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t running = std::min<std::size_t>(std::max(jobs, 1u), std::max<std::size_t>(count, 1));

  const auto work = [&] {
    for (std::size_t i; !failed && (i = next++) < count;) {
      try {
        task(i);
      } catch (...) {
        const std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        failed = true;
      }
      ++done;
    }
    const std::lock_guard lock(mutex);
    if (--running == 0) finished.notify_all();
  };

  std::vector<std::jthread> threads;
  for (std::size_t t = running; t > 0; --t) threads.emplace_back(work);
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(200), [&] { return running == 0; }))
      if (report) report(done);
  }
  threads.clear();
  if (failure) std::rethrow_exception(failure);
  if (report) report(done);
}

#endif

}  // namespace Velmora::Lab

// Independent tasks on several threads, with the results left where each
// task writes them, so that what follows is the same for any number of threads.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

namespace Velmora::Lab {

// Runs task(0) .. task(count - 1) on `jobs` threads, each thread taking the
// next index that no thread has taken. Meanwhile the calling thread calls
// report(done) about five times a second and once at the end, when report
// is set. The first exception a task throws is thrown here once every thread
// has stopped; no task starts after it.
// The threads a run uses: those asked for, else one per core.
unsigned jobsOrCores(std::optional<unsigned> jobs);

void runInParallel(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& task,
                   const std::function<void(std::size_t done)>& report = {});

}  // namespace Velmora::Lab

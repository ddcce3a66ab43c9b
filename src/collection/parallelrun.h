#pragma once
// Runs the same job over a range of items on worker threads while the calling thread reports
// progress and takes a stop.

#include <functional>

namespace varnel {

// Calls job(i) for every i in [0, count) on threads workers (0: one per core). Meanwhile, every
// 50 ms, progress (when given) hears how many are done; returning false stops the workers after
// the items they are at. True when every item was done.
bool RunParallel(int count, int threads, const std::function<void(int item)>& job,
                 const std::function<bool(int done)>& progress);

}  // namespace varnel

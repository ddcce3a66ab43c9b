#include "collection/parallelrun.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace varnel {

bool RunParallel(int count, int threads, const std::function<void(int item)>& job,
                 const std::function<bool(int done)>& progress) {
  std::atomic<int> next{0}, done{0};
  std::atomic<bool> stop{false};
  auto work = [&] {
    for (int item; !stop && (item = next++) < count;) {
      job(item);
      ++done;
    }
  };
  int workerCount = threads > 0 ? threads : int(std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (int i = 0; i < std::clamp(workerCount, 1, std::max(count, 1)); ++i)
    workers.emplace_back(work);
  while (progress && done < count && !stop) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!progress(done)) stop = true;
  }
  for (std::thread& worker : workers) worker.join();
  return !stop;
}

}  // namespace varnel

#include "search/searchpool.h"

#include <algorithm>

#include "appcore/settings.h"

namespace varnel {

int SearchPool::WorkersFor(int jobs) {
  if (jobs <= 0) jobs = int(std::thread::hardware_concurrency());
  return std::clamp(jobs, 1, kMostSearchJobs);
}

SearchPool::SearchPool(int workers, FileReadOptions options, size_t readAhead)
    : options_(options), readAhead_(std::max<size_t>(readAhead, 1)) {
  options_.stop = &stopping_;
  try {
    for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
  } catch (...) {
    Cancel();
    throw;
  }
}

SearchPool::~SearchPool() {
  Cancel();
}

void SearchPool::Cancel() {
  {
    std::lock_guard lock(mutex_);
    accepting_ = false;
    cancelled_ = true;
  }
  jobQueued_.notify_all();
  roomFreed_.notify_all();
  for (std::thread& worker : workers_)
    if (worker.joinable()) worker.join();
}

void SearchPool::StopAccepting() {
  stopping_ = true;
  {
    std::lock_guard lock(mutex_);
    accepting_ = false;
  }
  roomFreed_.notify_all();
}

std::shared_ptr<PendingRead> SearchPool::Submit(const std::string& path) {
  auto read = std::make_shared<PendingRead>();
  read->path = path;
  {
    std::unique_lock lock(mutex_);
    roomFreed_.wait(lock, [this] { return !accepting_ || pending_ < readAhead_; });
    if (!accepting_) return nullptr;
    ++pending_;
    queue_.push_back(read);
  }
  jobQueued_.notify_one();
  return read;
}

std::optional<FileContents> SearchPool::Take(PendingRead& read,
                                             const std::function<bool()>& keepWaiting) {
  std::unique_lock lock(mutex_);
  while (!readDone_.wait_for(lock, kIdleInterval, [&] { return read.done; })) {
    lock.unlock();
    bool wanted = keepWaiting();
    lock.lock();
    if (!wanted && !read.done) {
      Release(read);
      return std::nullopt;
    }
  }
  Release(read);
  return std::move(read.contents);
}

void SearchPool::GiveUp(PendingRead& read) {
  std::lock_guard lock(mutex_);
  Release(read);
}

void SearchPool::Release(PendingRead& read) {
  read.abandoned = !read.done;
  --pending_;
  roomFreed_.notify_one();
}

void SearchPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    jobQueued_.wait(lock, [this] { return cancelled_ || !queue_.empty(); });
    if (cancelled_) return;
    std::shared_ptr<PendingRead> read = std::move(queue_.front());
    queue_.pop_front();
    if (read->abandoned) continue;
    lock.unlock();
    FileContents contents = ReadFileContents(read->path, options_);
    lock.lock();
    read->contents = std::move(contents);
    read->done = true;
    // Told outside the lock, so that the waiting thread does not wake into a held lock.
    lock.unlock();
    readDone_.notify_all();
    lock.lock();
  }
}

}  // namespace varnel

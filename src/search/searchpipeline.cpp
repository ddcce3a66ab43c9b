#include "search/searchpipeline.h"

#include <utility>

namespace varnel {

SearchPipeline::SearchPipeline(int workers, const FileReadOptions& options, Walk walk)
    : pool_(workers, options, kReadAheadPerWorker * size_t(workers)),
      walker_([this, walk = std::move(walk)] { RunWalk(walk); }) {}

SearchPipeline::~SearchPipeline() {
  StopWalking();
  walker_.join();
}

void SearchPipeline::RunWalk(const Walk& walk) {
  std::exception_ptr failure;
  try {
    walk(*this);
  } catch (...) {
    failure = std::current_exception();
  }
  {
    std::lock_guard lock(mutex_);
    walking_ = false;
    failure_ = failure;
  }
  stepAdded_.notify_one();
}

void SearchPipeline::StopWalking() {
  stopWalking_ = true;
  pool_.StopAccepting();
}

std::optional<SearchStep> SearchPipeline::Next(const std::function<void()>& idle) {
  std::unique_lock lock(mutex_);
  auto ready = [this] { return !steps_.empty() || !walking_; };
  while (!stepAdded_.wait_for(lock, SearchPool::kIdleInterval, ready)) {
    lock.unlock();
    idle();
    lock.lock();
  }
  if (steps_.empty()) {
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return std::nullopt;
  }
  SearchStep step = std::move(steps_.front());
  steps_.pop_front();
  return step;
}

void SearchPipeline::Push(SearchStepKind kind, const std::string& path, bool skipped,
                          std::shared_ptr<PendingRead> read) {
  {
    std::lock_guard lock(mutex_);
    steps_.push_back({kind, path, skipped, std::move(read)});
  }
  stepAdded_.notify_one();
}

void SearchPipeline::Building(const std::string& what) {
  Push(SearchStepKind::Building, what);
}

void SearchPipeline::Folder(const std::string& folder) {
  Push(SearchStepKind::Folder, folder);
}

bool SearchPipeline::File(const std::string& path, bool skipped) {
  std::shared_ptr<PendingRead> read;
  if (!skipped && !(read = pool_.Submit(path))) return false;
  Push(SearchStepKind::File, path, skipped, std::move(read));
  return !stopWalking_;
}

bool SearchPipeline::Stopped() {
  Push(SearchStepKind::StopCheck, "");
  return stopWalking_;
}

}  // namespace varnel

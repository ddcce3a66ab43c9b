#include "app/previewworker.h"

#include <algorithm>

namespace varnel {

TPreviewWorker::~TPreviewWorker() {
  for (auto& job : running_)
    if (job->thread.joinable()) job->thread.join();
}

void TPreviewWorker::Request(const std::string& path, const TPreviewOptions& options) {
  Reap();
  auto job = std::make_shared<Job>();
  Job* raw = job.get();
  job->thread = std::thread([raw, path, options] {
    raw->preview = BuildFilePreview(path, options);
    raw->done.store(true, std::memory_order_release);
  });
  current_ = job;
  running_.push_back(std::move(job));
}

std::optional<TFilePreview> TPreviewWorker::TakeFinished() {
  Reap();
  if (!current_ || !current_->done.load(std::memory_order_acquire)) return std::nullopt;
  if (current_->thread.joinable()) current_->thread.join();
  TFilePreview preview = std::move(current_->preview);
  current_.reset();
  return preview;
}

void TPreviewWorker::Reap() {
  std::erase_if(running_, [this](const std::shared_ptr<Job>& job) {
    if (job == current_ || !job->done.load(std::memory_order_acquire)) return false;
    if (job->thread.joinable()) job->thread.join();
    return true;
  });
}

}  // namespace varnel

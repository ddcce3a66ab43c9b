#pragma once
// Builds file previews on worker threads. Only the newest request counts: a preview that is
// no longer wanted is dropped when it is done. Threads are joined when the worker goes.

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "collection/filepreview.h"

namespace varnel {

class TPreviewWorker {
 public:
  TPreviewWorker() = default;
  ~TPreviewWorker();
  TPreviewWorker(const TPreviewWorker&) = delete;
  TPreviewWorker& operator=(const TPreviewWorker&) = delete;

  // Starts building the preview of path; earlier requests are no longer wanted.
  void Request(const std::string& path, const TPreviewOptions& options);
  // The newest request's preview once it is done (given out once); nothing before.
  std::optional<TFilePreview> TakeFinished();
  // Whether a wanted preview is still being built.
  bool Pending() const { return current_ != nullptr; }

 private:
  struct Job {
    std::atomic<bool> done{false};
    TFilePreview preview;
    std::thread thread;
  };
  // Joins the threads of jobs that have ended.
  void Reap();

  std::shared_ptr<Job> current_;
  std::vector<std::shared_ptr<Job>> running_;
};

}  // namespace varnel

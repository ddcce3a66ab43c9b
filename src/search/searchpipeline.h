#pragma once
// A search walked on a thread of its own while a pool of workers reads the files: the steps of
// the walk come out in walk order, each file with its pending read, for the calling thread to
// show and append.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "search/searchpool.h"
#include "search/searchsink.h"

namespace varnel {

enum class SearchStepKind { Building, Folder, File, StopCheck };

// One step of the walk as the sink received it.
struct SearchStep {
  SearchStepKind kind;
  std::string path;
  bool skipped = false;               // a file on the skip list: never read
  std::shared_ptr<PendingRead> read;  // a file being read
};

class SearchPipeline : private SearchSink {
 public:
  using Walk = std::function<void(SearchSink&)>;

  // Starts walk on its own thread and workers reading its files in the style of options; at
  // most kReadAheadPerWorker files per worker are read ahead of the steps taken.
  SearchPipeline(int workers, const FileReadOptions& options, Walk walk);
  // Ends the walk and the workers, and waits for their threads.
  ~SearchPipeline() override;
  SearchPipeline(const SearchPipeline&) = delete;
  SearchPipeline& operator=(const SearchPipeline&) = delete;

  // The next step in walk order; idle is called every SearchPool::kIdleInterval while waiting.
  // Nothing once the walk has ended; a failure of the walk is raised then.
  std::optional<SearchStep> Next(const std::function<void()>& idle);
  // The contents of a file step, as SearchPool::Take and SearchPool::GiveUp give them.
  std::optional<FileContents> Take(PendingRead& read, const std::function<bool()>& keepWaiting) {
    return pool_.Take(read, keepWaiting);
  }
  void GiveUp(PendingRead& read) { pool_.GiveUp(read); }
  // Ends the walk early; the files already handed out are still read.
  void StopWalking();

 private:
  // Enough for the other workers to go on while one reads a large module (with four, they
  // were idle a quarter of the time in a search of a mixed tree); the files held stay few.
  static constexpr size_t kReadAheadPerWorker = 32;

  // The walk's side, on the walking thread.
  void Building(const std::string& what) override;
  void Folder(const std::string& folder) override;
  bool File(const std::string& path, bool skipped) override;
  bool Stopped() override;

  void Push(SearchStepKind kind, const std::string& path, bool skipped = false,
            std::shared_ptr<PendingRead> read = nullptr);
  void RunWalk(const Walk& walk);

  SearchPool pool_;
  std::mutex mutex_;
  std::condition_variable stepAdded_;
  std::deque<SearchStep> steps_;
  bool walking_ = true;
  std::exception_ptr failure_;
  std::atomic<bool> stopWalking_ = false;
  std::thread walker_;
};

}  // namespace varnel

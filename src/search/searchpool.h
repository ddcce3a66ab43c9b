#pragma once
// Worker threads that read the files of a search ahead of the thread that appends them. Files
// are read in the order they are queued; at most a fixed number are queued or read and not yet
// taken, so that memory stays bounded however far the workers could run ahead.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "collection/filecontents.h"

namespace varnel {

// A file handed to the workers, and its contents once read. The pool's lock guards it.
struct PendingRead {
  std::string path;
  FileContents contents;
  bool done = false;
  bool abandoned = false;  // given up before it was read: not read at all
};

class SearchPool {
 public:
  // How often a waiting Take lets its caller do other work.
  static constexpr std::chrono::milliseconds kIdleInterval{20};

  // The workers for a jobs setting: 0 (or less) one per processor core.
  static int WorkersFor(int jobs);

  SearchPool(int workers, FileReadOptions options, size_t readAhead);
  // Stops the workers; each finishes the file it is reading.
  ~SearchPool();
  SearchPool(const SearchPool&) = delete;
  SearchPool& operator=(const SearchPool&) = delete;

  // Queues path for reading, first waiting while readAhead files are pending. Null once the pool
  // takes no more files.
  std::shared_ptr<PendingRead> Submit(const std::string& path);
  // Waits until read is done and takes its contents. keepWaiting is called every kIdleInterval
  // while waiting; when it returns false the file is given up and nothing is returned. Either way
  // the file no longer counts as pending.
  std::optional<FileContents> Take(PendingRead& read, const std::function<bool()>& keepWaiting);
  // Gives read up without waiting: it no longer counts as pending.
  void GiveUp(PendingRead& read);
  // Submit gives null from now on (a waiting Submit too); queued files are still read.
  void StopAccepting();

 private:
  void Work();
  void Cancel();
  // Called under the lock when the appending thread is done with read.
  void Release(PendingRead& read);

  // Archive walks under way end between members once no more files are taken.
  std::atomic<bool> stopping_ = false;
  FileReadOptions options_;
  const size_t readAhead_;
  std::mutex mutex_;
  std::condition_variable jobQueued_;
  std::condition_variable readDone_;
  std::condition_variable roomFreed_;
  std::deque<std::shared_ptr<PendingRead>> queue_;
  size_t pending_ = 0;
  bool accepting_ = true;
  bool cancelled_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace varnel

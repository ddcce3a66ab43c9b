#pragma once
// An archive walk read on the user-interface thread: the status bar names the members as the walk
// reaches them, pending events are let through, and the stop button or the progress window's
// stop ends the walk between members.

#include <atomic>

#include "collection/collectiontarget.h"
#include "collection/filecontents.h"

namespace varnel {

class ArchiveWalkStatus : public ArchiveWalkProgress {
 public:
  explicit ArchiveWalkStatus(CollectionTarget& lib) : lib_(lib) {}
  // Clears the member name from the status bar when one was shown.
  ~ArchiveWalkStatus() override;
  ArchiveWalkStatus(const ArchiveWalkStatus&) = delete;
  ArchiveWalkStatus& operator=(const ArchiveWalkStatus&) = delete;

  // The options with this walk's progress and stop flag attached.
  FileReadOptions Attach(FileReadOptions options);

  void Extracting() override;
  void ReadingMember(const std::string& displayPath, size_t number, size_t total) override;

 private:
  void LetEventsThrough();

  CollectionTarget& lib_;
  std::atomic<bool> stop_ = false;
  bool shown_ = false;
};

}  // namespace varnel

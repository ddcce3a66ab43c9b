#pragma once
// One run of a search: its busy state and progress texts, the duplicate index, the errors met.
// With one job it takes the walk's steps itself and reads each file as it comes; with more, a
// pipeline walks and reads ahead on other threads and the run plays its steps back in walk
// order, so that the collection grows exactly as with one job.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "collection/busyscope.h"
#include "collection/duplicatefinder.h"
#include "collection/filecontents.h"
#include "collection/seeniconbytes.h"
#include "search/searchsink.h"

namespace varnel {

class SearchPipeline;
struct SearchStep;
class CollectionTarget;
class UserInterface;

class SearchRun : private SearchSink {
 public:
  // Nested: run inside another busy operation (dropped folders) without a busy state or
  // progress window of its own. silentLoad: errors of searches without duplicate exclusion are
  // not collected.
  SearchRun(CollectionTarget& lib, bool nested, bool silentLoad);

  // The progress window's stop button stops the search as the main window's does.
  bool Stopped() override;
  void ShowBuilding(const std::string& what);
  // Runs walk over this run's steps: on this thread with one job (the SearchJobs setting), else
  // through a pipeline of that many workers.
  void Walk(const std::function<void(SearchSink&)>& walk);
  // Ends the busy state and shows the errors met.
  void Finish();

 private:
  void Building(const std::string& what) override { ShowBuilding(what); }
  void Folder(const std::string& folder) override;
  bool File(const std::string& path, bool skipped) override;

  // Shows the file about to be appended; false for a skipped file, which is not loaded.
  bool BeginFile(const std::string& path, bool skipped);
  void Append(FileContents& contents);
  // Shows the count after a file; false when the search was stopped.
  bool EndFile();
  // Plays one step of a pipeline back; false when the search was stopped.
  bool Play(SearchStep& step, SearchPipeline& pipeline);
  // A file step: the file appended when its read is done, or passed over when skipped.
  bool PlayFile(SearchStep& step, SearchPipeline& pipeline);
  // Lets the window work while a step or a file is awaited.
  void Idle(SearchPipeline& pipeline);
  // Whether "Skip" was pressed since the last question; the press is used up.
  bool TakeSkipRequest();
  void PrepareHashes();
  // True at most once every redraw interval; the first call is due.
  bool RedrawDue();
  // Shows the count of icons and grows the grid to hold the new ones.
  void ShowCount();
  FileReadOptions ReadOptions() const;

  CollectionTarget& lib_;
  UserInterface& ui_;
  bool nested_;
  bool silentLoad_;
  bool excludeDuplicates_;
  TDuplicateIndex duplicates_;
  // Shared by the reading threads, which fill it while the index is in use here.
  std::unique_ptr<SeenIconBytes> seenBytes_ = std::make_unique<SeenIconBytes>();
  std::optional<TBusyScope> busy_;
  std::vector<std::string> errors_;
  int shown_;
  std::chrono::steady_clock::time_point nextRedraw_{};
};

}  // namespace varnel

#pragma once
// What reading files into the collection, searching and walking folders and archives, and
// exporting need of the collection window: the collection they fill or read, the view that shows
// it, the user interface they ask and tell, the settings they follow, the busy check, the
// modified flag, the stop request of long operations and whether a search is running. The
// collection window implements it; readers and searches take it instead of the whole window.

#include "appcore/settings.h"
#include "collection/collection.h"
#include "collection/gridview.h"
#include "platform/userinterface.h"

namespace varnel {

class TDuplicateIndex;

enum class TBusyKind {
  Plain,          // the grid is disabled and the wait cursor shown
  Quiet,          // as Plain, and the grid is not laid out meanwhile
  LongOperation,  // as Quiet at its end, with the progress window
};

class CollectionTarget {
 public:
  virtual ~CollectionTarget() = default;

  virtual TCollection& Collection() = 0;
  virtual TGridView& Grid() = 0;
  virtual UserInterface& UI() = 0;
  virtual TSettings& Settings() = 0;
  virtual const TSettings& Settings() const = 0;
  // Raises "Continuous process is running..." while a long operation runs.
  virtual void CheckNotBusy() const = 0;
  virtual void SetModified(bool value) = 0;

  // The stop request of the running long operation: set by the Stop command or the progress
  // window's button, cleared when a long operation begins.
  virtual bool StopRequested() const = 0;
  virtual void RequestStop() = 0;
  // The progress window's stop button, when it was pressed, becomes the stop request; true when
  // a stop is requested.
  bool TakeProgressStop() {
    if (UI().ProgressShown() && UI().ProgressFlags().stopRequested) RequestStop();
    return StopRequested();
  }
  // Whether a folder search is running (large archives are then passed by).
  virtual bool InSearchMode() const = 0;
  // Appends the items of a collection file, dropping those the duplicate index holds when one is
  // given; the collection counts as changed when it grew.
  virtual void MergeCollectionFile(const std::string& name,
                                   TDuplicateIndex* duplicates = nullptr) = 0;

  int Count() { return Collection().Count(); }
  TIconList& Items() { return Collection().Items(); }
  void AppendItem(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
    Collection().Append(std::move(name), std::move(icon));
  }
  void RecordSources(const std::string& path, int first) {
    Collection().RecordSources(path, first);
  }

 protected:
  // Only the scopes begin and end these states, so that every way out of the work inside ends
  // them.
  friend class TBusyScope;
  friend class SearchModeScope;
  virtual void EnterBusy(TBusyKind kind) = 0;
  // Never raises: a failure to end the state leaves every busy state at once.
  virtual void LeaveBusy(TBusyKind kind) noexcept = 0;
  virtual void SetSearchMode(bool on) = 0;
};

}  // namespace varnel

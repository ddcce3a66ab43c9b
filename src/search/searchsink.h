#pragma once
// The steps of a search's walk over folders, in walk order. A search run takes them on the
// walking thread, or a pipeline hands the files to workers and the steps on to the run.

#include <string>

namespace varnel {

class SearchSink {
 public:
  virtual ~SearchSink() = default;
  // A folder tree is about to be built below what.
  virtual void Building(const std::string& what) = 0;
  // The files of folder follow.
  virtual void Folder(const std::string& folder) = 0;
  // A file of the current folder that matches the mask; skipped when its extension is on the
  // skip list. False ends the walk.
  virtual bool File(const std::string& path, bool skipped) = 0;
  // The search's stop check: true ends the walk.
  virtual bool Stopped() = 0;
};

}  // namespace varnel

#pragma once
// The order in which the searches visit folders and files: one folder, a tree (the root, then
// each first-level folder with the tree below it), or every folder of the local disks. Each
// folder is visited once however often it is reached; its matching files come sorted by name
// without regard to case. With iconFolderPictures, icon and pixmap folders also give their
// pictures (see iconfolderpictures.h).

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace varnel {

class SearchSink;

class SearchWalk {
 public:
  SearchWalk(SearchSink& sink, std::string mask, bool iconFolderPictures = false)
      : sink_(sink), mask_(std::move(mask)), iconFolderPictures_(iconFolderPictures) {}

  void Folder(const std::string& folder) { Visit(folder); }
  void Tree(const std::string& root);
  // Each drive's folders on that drive's file system.
  void Disks(const std::vector<std::string>& drives);

 private:
  // False when the walk is to end.
  bool Visit(const std::string& folder);
  // The files of a folder the search reads: the mask's, with the pictures of icon folders and
  // the cursors of cursor theme folders when the search takes those.
  std::vector<std::string> FilesToVisit(const std::string& folder) const;
  // Visits top and the tree below it (the drive itself, or root's own top, alone), each folder
  // as soon as the walk over the tree finds it.
  bool VisitTree(const std::string& top, bool alone, bool stayOnDevice);

  SearchSink& sink_;
  std::string mask_;
  bool iconFolderPictures_;
  std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace varnel

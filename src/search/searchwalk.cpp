#include "search/searchwalk.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/textfunctions.h"
#include "search/folderscan.h"
#include "search/iconfolderpictures.h"
#include "search/searchsink.h"

namespace varnel {

void SearchWalk::Tree(const std::string& root) {
  std::vector<std::string> tops = ListTopFolders(root);
  for (size_t i = 0; i < tops.size(); ++i)
    if (!VisitTree(tops[i], i == 0, false)) return;
}

void SearchWalk::Disks(const std::vector<std::string>& drives) {
  for (const std::string& drive : drives) {
    long long device = DeviceOf(drive);
    for (const std::string& top : ListTopFolders(drive)) {
      // Other file systems mounted below a disk are searched as disks of their own, if at all.
      if (DeviceOf(top) != device) continue;
      if (!VisitTree(top, top == drive, true)) return;
    }
  }
}

bool SearchWalk::VisitTree(const std::string& top, bool alone, bool stayOnDevice) {
  sink_.Building(top);
  if (sink_.Stopped()) return false;
  if (alone) return Visit(top);
  return ForEachFolderInTree(
      top, [this](const std::string& folder) { return Visit(folder); }, stayOnDevice);
}

namespace {

bool IsLink(const std::string& file) {
  struct stat info;
  return ::lstat(file.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace

std::vector<std::string> SearchWalk::FilesToVisit(const std::string& folder) const {
  if (!iconFolderPictures_ || !IsIconFolder(folder)) return ListFilesInFolder(folder, mask_);
  if (!IsCursorThemeFolder(folder))
    return ListFilesInFolder(folder, mask_ + ";" + kIconFolderPictureMask);
  std::vector<std::string> files = ListFilesInFolder(folder, "*");
  std::erase_if(files, IsLink);
  return files;
}

bool SearchWalk::Visit(const std::string& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) == 0 && !visited_.insert({info.st_dev, info.st_ino}).second)
    return !sink_.Stopped();
  sink_.Folder(folder);
  std::vector<std::string> files = FilesToVisit(folder);
  std::sort(files.begin(), files.end(),
            [](const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); });
  for (const std::string& file : files)
    if (!sink_.File(file, IsSkippedFile(file))) return false;
  return !sink_.Stopped();
}

}  // namespace varnel

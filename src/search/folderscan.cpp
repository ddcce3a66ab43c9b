#include "search/folderscan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "collection/fileimport.h"
#include "platform/mounttable.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

bool MatchesPattern(const char* name, const char* pattern) {
  // Iterative matching with one backtracking point for the last "*".
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name) {
    if (*pattern == '*') {
      starPattern = pattern++;
      starName = name;
    } else if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                                      std::tolower(static_cast<unsigned char>(*name))) {
      ++pattern, ++name;
    } else if (starPattern) {
      pattern = starPattern + 1;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool IsRealFolder(const fs::directory_entry& entry) {
  std::error_code error;
  return entry.is_directory(error) && !entry.is_symlink(error);
}

bool IsHidden(const std::string& name) {
  return !name.empty() && name[0] == '.';
}

// The folders directly in folder, each with a trailing "/".
std::vector<std::string> SubFolders(const std::string& folder, bool includeHidden) {
  std::vector<std::string> folders;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!IsRealFolder(*it)) continue;
    std::string name = it->path().filename().string();
    if (!includeHidden && IsHidden(name)) continue;
    folders.push_back(WithSlash(it->path().string()));
  }
  return folders;
}

}  // namespace

bool MatchesFileMask(const std::string& name, const std::string& mask) {
  size_t start = 0;
  while (start <= mask.size()) {
    size_t end = mask.find(';', start);
    if (end == std::string::npos) end = mask.size();
    std::string pattern = Trim(mask.substr(start, end - start));
    if (!pattern.empty()) {
      if (MatchesPattern(name.c_str(), pattern.c_str())) return true;
      bool anyExtension = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0;
      if (anyExtension && name.find('.') == std::string::npos &&
          MatchesPattern(name.c_str(), pattern.substr(0, pattern.size() - 2).c_str()))
        return true;
    }
    start = end + 1;
  }
  return false;
}

bool IsSkippedFile(const std::string& path) {
  return IsSkippedExtension(path);
}

std::vector<std::string> ListFilesInFolder(const std::string& folder, const std::string& mask) {
  std::vector<std::string> files;
  std::set<std::string> seen;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kindError;
    if (it->is_directory(kindError)) continue;
    std::string name = it->path().filename().string();
    if (!MatchesFileMask(name, mask)) continue;
    std::string path = it->path().string();
    // Linux file systems tell names apart by case: "Icon.ico" and "icon.ico" are two files.
    if (seen.insert(path).second) files.push_back(path);
  }
  return files;
}

std::vector<std::string> ListTopFolders(const std::string& root) {
  std::error_code error;
  if (!fs::is_directory(root, error)) return {};
  std::vector<std::string> folders = {WithSlash(root)};
  for (std::string& folder : SubFolders(root, true)) folders.push_back(std::move(folder));
  return folders;
}

long long DeviceOf(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? (long long)info.st_dev : -1;
}

std::vector<std::string> BuildFolderTree(const std::string& start,
                                         const std::function<bool()>& stopped, bool stayOnDevice) {
  std::vector<std::string> tree;
  ForEachFolderInTree(
      start,
      [&](const std::string& folder) {
        tree.push_back(folder);
        return !(stopped && stopped());
      },
      stayOnDevice);
  return tree;
}

bool ForEachFolderInTree(const std::string& start,
                         const std::function<bool(const std::string& folder)>& visit,
                         bool stayOnDevice) {
  std::error_code error;
  if (!fs::is_directory(start, error)) return true;
  long long device = DeviceOf(start);
  // A folder mounted a second time inside its own tree is visited once.
  std::set<std::pair<dev_t, ino_t>> visited;
  std::vector<std::string> tree;
  auto add = [&](std::string folder) {
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0) return;
    if (stayOnDevice && (long long)info.st_dev != device) return;
    if (!visited.insert({info.st_dev, info.st_ino}).second) return;
    tree.push_back(std::move(folder));
  };
  add(WithSlash(start));
  // Level by level: the children of each folder follow the folders already known.
  for (size_t i = 0; i < tree.size(); ++i) {
    if (!visit(tree[i])) return false;
    for (std::string& folder : SubFolders(tree[i], false)) add(std::move(folder));
  }
  return true;
}

std::vector<std::string> ListFixedDrives() {
  std::vector<std::string> drives;
  for (const std::string& mount : TMountTable::Current().FixedDrives())
    drives.push_back(WithSlash(mount));
  return drives;
}

}  // namespace varnel

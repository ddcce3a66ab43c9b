#include "platform/xdgdatafolders.h"

#include <algorithm>
#include <cstdlib>

#include "platform/folders.h"

namespace varnel {
namespace {

std::string EnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool IsAbsolute(const std::string& path) {
  return !path.empty() && path[0] == '/';
}

std::vector<std::string> SplitFolderList(const std::string& text) {
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = std::min(text.find(':', start), text.size());
    std::string folder = text.substr(start, end - start);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (IsAbsolute(folder)) folders.push_back(folder);
    start = end + 1;
  }
  return folders;
}

}  // namespace

std::string UserDataFolder() {
  std::string dataHome = EnvironmentText("XDG_DATA_HOME");
  if (IsAbsolute(dataHome)) return dataHome;
  std::string home = EnvironmentText("HOME");
  return home.empty() ? std::string() : PathJoin(home, ".local/share");
}

std::vector<std::string> SystemDataFolders() {
  std::vector<std::string> folders = SplitFolderList(EnvironmentText("XDG_DATA_DIRS"));
  if (folders.empty()) folders = {"/usr/local/share", "/usr/share"};
  return folders;
}

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders;
  std::string user = UserDataFolder();
  if (!user.empty()) folders.push_back(user);
  for (std::string& folder : SystemDataFolders())
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(std::move(folder));
  return folders;
}

}  // namespace varnel

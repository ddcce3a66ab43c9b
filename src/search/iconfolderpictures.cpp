#include "search/iconfolderpictures.h"

#include <filesystem>

#include "appcore/settings.h"
#include "platform/textfunctions.h"

namespace varnel {

bool TakesIconFolderPictures(const std::string& mask) {
  return LowerCase(Trim(mask)) == LowerCase(kDefaultIconMask);
}

bool IsIconFolder(const std::string& folder) {
  for (const std::filesystem::path& part : std::filesystem::path(folder)) {
    std::string name = part.string();
    if (name == "icons" || name == ".icons" || name == "pixmaps") return true;
  }
  return false;
}

bool IsCursorThemeFolder(const std::string& folder) {
  std::filesystem::path path(folder);
  if (path.filename().empty()) path = path.parent_path();
  return path.filename() == "cursors" && IsIconFolder(path.parent_path().string());
}

}  // namespace varnel

#include "shell/typedpath.h"

#include <cctype>
#include <filesystem>

#include "platform/casefold.h"

namespace varnel {

bool IsPathSeparator(char c) {
  return c == '/' || c == '\\';
}

std::string DriveLetterOf(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
    return std::string(path.substr(0, 1));
  return {};
}

std::vector<std::string> PathComponents(std::string_view path) {
  path.remove_prefix(DriveLetterOf(path).empty() ? 0 : 2);
  std::vector<std::string> components;
  std::string part;
  for (const char c : path) {
    if (!IsPathSeparator(c)) {
      part += c;
    } else if (!part.empty()) {
      components.push_back(std::move(part));
      part.clear();
    }
  }
  if (!part.empty()) components.push_back(std::move(part));
  return components;
}

bool HasFolderPart(std::string_view path) {
  return !DriveLetterOf(path).empty() || path.find_first_of("/\\") != std::string_view::npos;
}

char SeparatorOf(std::string_view path) {
  const bool windows = !DriveLetterOf(path).empty() || path.find('\\') != std::string_view::npos;
  return windows ? '\\' : '/';
}

std::string JoinTypedPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || IsPathSeparator(folder.back())) return folder + name;
  return folder + SeparatorOf(folder) + name;
}

std::string FileInFolderIgnoringCase(const std::string& localFolder, const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(localFolder, error))
    if (SameTextFolded(entry.path().filename().string(), name)) return entry.path().string();
  return (fs::path(localFolder) / name).string();
}

}  // namespace varnel

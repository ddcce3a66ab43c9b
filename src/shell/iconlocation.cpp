#include "shell/iconlocation.h"

#include <algorithm>
#include <filesystem>

#include "collection/kindreaders.h"
#include "platform/textfunctions.h"
#include "resources/iconlibrary.h"

namespace varnel {

namespace {

// Replaces every occurrence of name, ignoring letter case.
std::string ReplaceVariable(std::string text, const std::string& name, const std::string& value) {
  std::string lower = LowerCase(text);
  std::string wanted = LowerCase(name);
  for (size_t at = lower.find(wanted); at != std::string::npos; at = lower.find(wanted, at)) {
    text.replace(at, name.size(), value);
    lower.replace(at, name.size(), LowerCase(value));
    at += value.size();
  }
  return text;
}

bool HasDrive(const std::string& name) {
  if (name.size() >= 2 && name[1] == ':') return true;
  return !name.empty() && (name[0] == '/' || name[0] == '\\');
}

std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char last = folder.back();
  return (last == '/' || last == '\\') ? folder + name : folder + "\\" + name;
}

bool IsIconFile(const std::string& file) {
  std::string lower = LowerCase(file);
  return lower.ends_with(".ico") || lower.ends_with(".cur");
}

std::unique_ptr<TAdvancedIcon> CopyOf(const TAdvancedIcon& icon) {
  if (icon.Images().Count() == 0) return nullptr;
  auto copy = std::make_unique<TAdvancedIcon>();
  copy->Assign(icon);
  return copy;
}

std::unique_ptr<TAdvancedIcon> LoadLibraryIcon(const std::string& file, int index) {
  TIconLibrary library;
  library.LoadFromFile(file);
  const int position = library.PositionOfLocationIndex(index);
  return position < 0 ? nullptr : CopyOf(*library.Icon(position));
}

}  // namespace

std::string HostPath(const std::string& path) {
  std::string host = path;
  std::replace(host.begin(), host.end(), '\\', '/');
  return host;
}

IconLocation ReadIconLocation(const std::string& text, const LocationFolders& folders) {
  IconLocation location = SplitIconLocation(text);
  std::string& name = location.file;
  name = ReplaceVariable(name, "%WinDir%", folders.windowsFolder);
  name = ReplaceVariable(name, "%SystemRoot%", folders.windowsFolder);
  name = ReplaceVariable(name, "%SystemDrive%", folders.windowsFolder.substr(0, 3));
  if (name.empty() || HasDrive(name) || !folders.fileExists) return location;
  for (const std::string& folder : {folders.systemFolder, folders.windowsFolder}) {
    std::string candidate = InFolder(folder, name);
    if (!folder.empty() && folders.fileExists(candidate)) {
      name = candidate;
      break;
    }
  }
  return location;
}

std::unique_ptr<TAdvancedIcon> LoadLocationIcon(const IconLocation& location) {
  std::string file = HostPath(location.file);
  std::error_code error;
  if (location.file.empty() || !std::filesystem::is_regular_file(file, error)) return nullptr;
  try {
    if (IsIconFile(file)) {
      auto icon = std::make_unique<TAdvancedIcon>();
      if (icon->LoadFromFile(file) && icon->Images().Count() > 0) return icon;
      return nullptr;
    }
    if (auto picture = ReadPictureFileIcon(file))
      return location.index == 0 && picture->Images().Count() > 0 ? std::move(picture) : nullptr;
    return LoadLibraryIcon(file, location.index);
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::unique_ptr<TAdvancedIcon> LocationDisplayIcon(const IconLocation& location,
                                                   const LocationFolders& folders) {
  if (auto icon = LoadLocationIcon(location)) return icon;
  if (auto icon = LoadLocationIcon({location.file, 0})) return icon;
  return LoadLocationIcon({InFolder(folders.systemFolder, "shell32.dll"), 0});
}

}  // namespace varnel

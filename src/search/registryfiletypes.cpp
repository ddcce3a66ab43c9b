#include "search/registryfiletypes.h"

#include <algorithm>
#include <filesystem>

#include "platform/casefold.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

// "C:..." and "\\server\..." name their drive; "/..." is rooted.
bool HasDrivePart(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return true;
  return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

}  // namespace

FileTypeIcon ParseDefaultIcon(const std::string& name, const std::string& value) {
  FileTypeIcon icon{name, value, "", AssociatedIconFile::Indexed};
  if (value.starts_with("%")) {
    icon.file.clear();
    return icon;
  }
  size_t comma = value.rfind(',');
  if (comma != std::string::npos) {
    icon.indexText = Trim(std::string_view(value).substr(comma + 1));
    icon.file = value.substr(0, comma);
  }
  return icon;
}

RegistryFileTypes::RegistryFileTypes(TRegistryStore& store, std::vector<std::string> searchFolders)
    : store_(store), searchFolders_(std::move(searchFolders)) {}

std::string RegistryFileTypes::DefaultIconOf(const std::string& extensionKey) const {
  TRegistry registry(store_);
  registry.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  if (!registry.OpenKeyReadOnly("\\" + extensionKey)) return {};
  std::string typeName = registry.ReadString("");
  if (typeName.empty() || !registry.OpenKeyReadOnly("\\" + typeName + "\\DefaultIcon")) return {};
  return registry.ReadString("");
}

std::string RegistryFileTypes::LocateFile(const std::string& file) const {
  if (HasDrivePart(file)) return file;
  std::error_code error;
  for (const std::string& folder : searchFolders_)
    if (std::string path = PathJoin(folder, file); std::filesystem::exists(path, error))
      return path;
  return file;
}

std::vector<FileTypeIcon> RegistryFileTypes::Icons() {
  TRegistry registry(store_);
  registry.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  std::vector<std::string> keys;
  if (registry.OpenKeyReadOnly("\\")) keys = registry.GetKeyNames();
  std::erase_if(keys, [](const std::string& key) { return !key.starts_with("."); });
  std::stable_sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
    return CompareTextFolded(a, b) < 0;
  });
  std::vector<FileTypeIcon> icons;
  for (const std::string& key : keys) {
    FileTypeIcon icon = ParseDefaultIcon(key.substr(1), DefaultIconOf(key));
    if (icon.file.empty()) continue;
    icon.file = LocateFile(icon.file);
    icons.push_back(std::move(icon));
  }
  return icons;
}

}  // namespace varnel

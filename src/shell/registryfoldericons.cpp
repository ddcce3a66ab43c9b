#include "shell/registryfoldericons.h"

#include <cctype>

#include "platform/registry.h"
#include "shell/typedpath.h"

namespace varnel {

namespace {

const char* const kDriveIconsKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\DriveIcons\\";

char UpperLetter(const std::string& path) {
  return path.empty() ? '\0' : char(std::toupper(static_cast<unsigned char>(path[0])));
}

}  // namespace

std::string DriveIconKey(const std::string& root) {
  return kDriveIconsKey + std::string(1, UpperLetter(root)) + "\\DefaultIcon";
}

RegistryFolderIcons::RegistryFolderIcons(TRegistryStore& store) : store_(store) {}

void RegistryFolderIcons::MapDrive(char letter, std::string localFolder, TDriveKind kind) {
  drives_[UpperLetter(std::string(1, letter))] = {std::move(localFolder), kind};
}

std::string RegistryFolderIcons::LocalPath(const std::string& typedPath) const {
  const auto drive = drives_.find(UpperLetter(DriveLetterOf(typedPath)));
  if (DriveLetterOf(typedPath).empty() || drive == drives_.end()) return typedPath;
  std::string local = drive->second.folder;
  for (const std::string& component : PathComponents(typedPath)) local += "/" + component;
  return local;
}

bool RegistryFolderIcons::IsDriveRoot(const std::string& typedPath) const {
  return !typedPath.empty() && typedPath.size() <= 3;
}

TDriveKind RegistryFolderIcons::DriveKind(const std::string& root) const {
  const auto drive = drives_.find(UpperLetter(root));
  return drive == drives_.end() ? TDriveKind::dkNoRootDir : drive->second.kind;
}

std::string RegistryFolderIcons::DriveRefusal(const std::string&) const {
  return {};
}

std::string RegistryFolderIcons::DriveKeyIcon(const std::string& root) const {
  TRegistry registry(store_);
  registry.SetRootKey(TRootKey::HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(DriveIconKey(root))) return {};
  return registry.ReadString("");
}

void RegistryFolderIcons::SetDriveKeyIcon(const std::string& root, const std::string& location) {
  TRegistry registry(store_);
  registry.SetRootKey(TRootKey::HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(DriveIconKey(root), true))
    throw ERegistryError("Failed to set data for '" + DriveIconKey(root) + "'");
  registry.WriteString("", location);
}

void RegistryFolderIcons::DeleteDriveKey(const std::string& root) {
  TRegistry registry(store_);
  registry.SetRootKey(TRootKey::HKEY_LOCAL_MACHINE);
  registry.DeleteKey(DriveIconKey(root));
}

// The shell reads only "desktop.ini"; the folder's read-only attribute that makes it look
// there has no counterpart in the store.
std::vector<std::string> RegistryFolderIcons::WriteFolderRecords(const std::string&,
                                                                 const std::string&) {
  return {};
}

std::vector<std::string> RegistryFolderIcons::RemoveFolderRecords(const std::string&) {
  return {};
}

}  // namespace varnel

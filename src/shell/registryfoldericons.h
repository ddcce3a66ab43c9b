#pragma once
// Folder icons over the registry store: Windows paths, drive roots as one to three characters
// ("D:\"), and the drive icon key
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\explorer\DriveIcons\<letter>.
// Drive letters can be mapped onto local folders, so that "D:\Work" is "<folder of D>/Work".

#include <map>

#include "platform/registrystore.h"
#include "shell/foldericonsystem.h"

namespace varnel {

class RegistryFolderIcons : public FolderIconSystem {
 public:
  explicit RegistryFolderIcons(TRegistryStore& store);

  // Maps the drive letter (either case) onto a local folder.
  void MapDrive(char letter, std::string localFolder, TDriveKind kind = TDriveKind::dkFixed);

  std::string LocalPath(const std::string& typedPath) const override;
  bool IsDriveRoot(const std::string& typedPath) const override;
  TDriveKind DriveKind(const std::string& root) const override;
  std::string DriveRefusal(const std::string& root) const override;
  std::string DriveKeyIcon(const std::string& root) const override;
  void SetDriveKeyIcon(const std::string& root, const std::string& location) override;
  void DeleteDriveKey(const std::string& root) override;
  std::vector<std::string> WriteFolderRecords(const std::string& localFolder,
                                              const std::string& iconFile) override;
  std::vector<std::string> RemoveFolderRecords(const std::string& localFolder) override;

 private:
  struct MappedDrive {
    std::string folder;
    TDriveKind kind = TDriveKind::dkFixed;
  };

  TRegistryStore& store_;
  std::map<char, MappedDrive> drives_;  // by upper-case letter
};

// The drive icon key of a root's drive letter, below HKEY_LOCAL_MACHINE.
std::string DriveIconKey(const std::string& root);

}  // namespace varnel

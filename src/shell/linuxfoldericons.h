#pragma once
// Folder icons on the Linux desktop. Besides "desktop.ini" (read by Windows and Samba shares), a
// folder gets the ".directory" file's "Icon" key in section "Desktop Entry" (KDE) and the GIO
// metadata attribute "metadata::custom-icon" (GNOME). Drive roots are mount points: removable
// media the user can write to keep the drive icon in ".xdg-volume-info"; fixed disks are refused.

#include <memory>

#include "shell/foldericonsystem.h"

namespace varnel {

// The desktop's per-file metadata store (GIO's "metadata::" attributes).
class FileMetadata {
 public:
  virtual ~FileMetadata() = default;
  // Both return a note when the attribute could not be written, else empty.
  virtual std::string SetCustomIcon(const std::string& folder, const std::string& iconFile) = 0;
  virtual std::string RemoveCustomIcon(const std::string& folder) = 0;
};

// Through GIO's API; without the metadata daemon (gvfs) the attribute is skipped with a note.
std::unique_ptr<FileMetadata> MakeGioFileMetadata();

class LinuxFolderIcons : public FolderIconSystem {
 public:
  LinuxFolderIcons(TMountTable mounts, FileMetadata& metadata);

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
  TMountTable mounts_;
  FileMetadata& metadata_;
};

// Icon cache and redraw on the Linux desktop: file managers watch the files written, so there is
// nothing to rebuild or redraw.
class LinuxShellRefresh : public ShellRefresh {
 public:
  void RebuildIconCache() override {}
  void RefreshShell() override {}
};

}  // namespace varnel

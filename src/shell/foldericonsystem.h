#pragma once
// What the folder icon logic needs from the system it runs on: where a typed path lies, what a
// drive root is, the drive icon store, and the desktop's own folder-icon records beside the
// folder's "desktop.ini". Implemented over the registry store and over the Linux desktop.

#include <string>
#include <vector>

#include "platform/mounttable.h"

namespace varnel {

class FolderIconSystem {
 public:
  virtual ~FolderIconSystem() = default;

  // The path on this machine's file system that a typed folder or file path names.
  virtual std::string LocalPath(const std::string& typedPath) const = 0;
  virtual bool IsDriveRoot(const std::string& typedPath) const = 0;
  virtual TDriveKind DriveKind(const std::string& root) const = 0;
  // Empty when the drive root may get an icon, else the message that refuses it.
  virtual std::string DriveRefusal(const std::string& root) const = 0;

  // The drive's icon location kept outside its root folder; empty when none.
  virtual std::string DriveKeyIcon(const std::string& root) const = 0;
  virtual void SetDriveKeyIcon(const std::string& root, const std::string& location) = 0;
  virtual void DeleteDriveKey(const std::string& root) = 0;

  // Records other than "desktop.ini" that make the desktop show iconFile (absolute, on this
  // machine) for the folder; returns notes about records that could not be written.
  virtual std::vector<std::string> WriteFolderRecords(const std::string& localFolder,
                                                      const std::string& iconFile) = 0;
  virtual std::vector<std::string> RemoveFolderRecords(const std::string& localFolder) = 0;
};

// Redrawing the shell after icons changed.
class ShellRefresh {
 public:
  virtual ~ShellRefresh() = default;
  virtual void RebuildIconCache() = 0;
  virtual void RefreshShell() = 0;
};

}  // namespace varnel

#pragma once
// The icon of one folder or drive root: showing the icon it has, refusing system folders and
// missing folders, choosing a new icon or the default, and applying the choice to the folder's
// "desktop.ini" (or the root's "Autorun.inf" and drive icon key), with the icon optionally
// copied into the folder.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/foldericonsystem.h"
#include "shell/iconlocationtext.h"

namespace varnel {

// Refusal messages; "%s" stands for the path.
extern const char* const kSystemFolderMessage;    // "It's a system folder. Customize it ..."
extern const char* const kFolderNotFoundMessage;  // "Folder not found: %s"

// Stock icon indices shown when a folder or drive has no icon of its own.
int StockIconOfFolder();
int StockIconOfDrive(TDriveKind kind);

// The short (8.3) name of a path component, empty when it has none.
using ShortNameLookup = std::function<std::string(const std::string& pathSoFar)>;

// The name of the icon file copied into a folder: the components below the drive, top down,
// each by its short name or else its name, joined by "_" and lower-cased, after the drive letter
// as typed, plus ".ico" ("D:\Work\Icons" gives "Dwork_icons.ico"). Both "\" and "/" separate.
// When the folder path, the name and 4 reach 260 characters, leading components are dropped
// (and then the last one cut) until the name fits.
std::string CopiedIconFileName(const std::string& folderPath,
                               const ShortNameLookup& shortName = {});
// "AutoRun" + drive letter + ".ico" for a drive root.
std::string CopiedDriveIconFileName(const std::string& rootPath);

// Copies the icon a location names into target as an icon file: an icon file whole, any other
// file through the icon-library reader (negative index: the icon named by its absolute value).
// Raises Exception "Invalid icon. Can not save" when the location holds no such icon.
void CopyIconToFile(const IconLocation& source, const std::string& target);

// What a folder or drive shows now.
struct FolderIconShown {
  std::string refusal;   // the message refusing the folder; empty when it may be customised
  std::string location;  // its own icon location text; empty when it has none
  int stockIcon = 3;     // the stock icon shown without one
};

class FolderIconPage {
 public:
  FolderIconPage(FolderIconSystem& system, ShellRefresh& shell);

  // Chooses the folder or drive root; the pending location starts as the current one.
  FolderIconShown SetFolder(const std::string& path);
  const std::string& Folder() const { return folder_; }
  bool IsDriveRoot() const { return driveRoot_; }
  const FolderIconShown& Shown() const { return shown_; }

  // "Change...": the chosen icon becomes pending. "Default": no icon of its own.
  void SetPendingLocation(const IconLocation& location);
  void SetDefault();
  const std::string& PendingLocation() const { return pending_; }
  bool Changed() const { return changed_; }

  bool CopyIconIntoFolder() const { return copyIcon_; }
  void SetCopyIconIntoFolder(bool copy) { copyIcon_ = copy; }

  // Writes the pending choice; returns messages for the user (a copy error on a drive root, notes
  // about desktop records not written). Raises Exception with the refusal message when the
  // folder was refused, and the file errors of writing "desktop.ini" or "Autorun.inf".
  std::vector<std::string> Apply();

 private:
  FolderIconShown ShowFolder(const std::string& local) const;
  FolderIconShown ShowDriveRoot(const std::string& local) const;
  void ApplyToFolder(std::vector<std::string>& messages);
  void ApplyToDrive(std::vector<std::string>& messages);
  // Each returns the notes of the desktop records.
  std::vector<std::string> RemoveFolderIcon(const std::string& local);
  std::vector<std::string> WriteFolderIcon(const std::string& local);
  // Copies the pending icon into the folder as fileName; gives the copy's location.
  IconLocation CopiedIcon(const std::string& fileName) const;
  // A location in the folder itself is stored as the bare file name.
  IconLocation StoredLocation(IconLocation location) const;
  // The stored location's file on this machine.
  std::string LocalIconFile(const IconLocation& stored) const;

  FolderIconSystem& system_;
  ShellRefresh& shell_;
  std::string folder_;
  bool driveRoot_ = false;
  FolderIconShown shown_;
  std::string pending_;
  bool changed_ = false;
  bool copyIcon_ = true;
};

// The command line's folder customisation on this desktop: icon set, or removed when icon is
// empty. Returns the messages to print; raises Exception for a refused folder or a bad icon.
std::vector<std::string> CustomizeFolderOnDesktop(const std::string& folder,
                                                  const std::optional<IconLocation>& icon,
                                                  bool copyIcon = true);

}  // namespace varnel

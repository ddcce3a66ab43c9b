#include "shell/foldericon.h"

#include <filesystem>

#include "base/errors.h"
#include "platform/casefold.h"
#include "platform/inifile.h"
#include "shell/typedpath.h"

namespace varnel {

const char* const kSystemFolderMessage = "It's a system folder. Customize it with other tabsheets";
const char* const kFolderNotFoundMessage = "Folder not found: %s";

namespace {

namespace fs = std::filesystem;

const char* const kShellClassInfo = ".ShellClassInfo";
const char* const kAutoRun = "AutoRun";

std::string WithPath(const char* message, const std::string& path) {
  std::string text = message;
  const auto at = text.find("%s");
  return at == std::string::npos ? text : text.replace(at, 2, path);
}

std::string DesktopIniOf(const std::string& localFolder) {
  return FileInFolderIgnoringCase(localFolder, "desktop.ini");
}

std::string AutorunInfOf(const std::string& localRoot) {
  return FileInFolderIgnoringCase(localRoot, "Autorun.inf");
}

bool IsSystemFolder(const TIniFile& desktopIni) {
  for (const char* key : {"UICLSID", "CLSID2", "CLSID"})
    if (desktopIni.ValueExists(kShellClassInfo, key)) return true;
  return false;
}

fs::path Normalized(const std::string& localPath) {
  fs::path path = fs::path(localPath).lexically_normal();
  return path.has_filename() ? path : path.parent_path();
}

// A location whose file is relative is taken in folder.
std::string LocationInFolder(const std::string& folder, IconLocation location) {
  if (location.file.empty()) return {};
  if (!HasFolderPart(location.file)) location.file = JoinTypedPath(folder, location.file);
  return IconLocationText(location);
}

}  // namespace

FolderIconPage::FolderIconPage(FolderIconSystem& system, ShellRefresh& shell)
    : system_(system), shell_(shell) {}

FolderIconShown FolderIconPage::SetFolder(const std::string& path) {
  folder_ = path;
  driveRoot_ = system_.IsDriveRoot(path);
  const std::string local = system_.LocalPath(path);
  if (!fs::is_directory(local)) {
    shown_ = {WithPath(kFolderNotFoundMessage, path), "",
              driveRoot_ ? StockIconOfDrive(system_.DriveKind(path)) : StockIconOfFolder()};
  } else {
    shown_ = driveRoot_ ? ShowDriveRoot(local) : ShowFolder(local);
  }
  pending_ = shown_.location;
  changed_ = false;
  return shown_;
}

FolderIconShown FolderIconPage::ShowFolder(const std::string& local) const {
  const TIniFile desktopIni(DesktopIniOf(local));
  const IconLocation icon{desktopIni.ReadString(kShellClassInfo, "IconFile", ""),
                          desktopIni.ReadInteger(kShellClassInfo, "IconIndex", 0)};
  return {IsSystemFolder(desktopIni) ? kSystemFolderMessage : "", LocationInFolder(folder_, icon),
          StockIconOfFolder()};
}

FolderIconShown FolderIconPage::ShowDriveRoot(const std::string& local) const {
  const std::string icon = TIniFile(AutorunInfOf(local)).ReadString(kAutoRun, "icon", "");
  return {system_.DriveRefusal(folder_),
          icon.empty() ? system_.DriveKeyIcon(folder_)
                       : LocationInFolder(folder_, SplitIconLocation(icon)),
          StockIconOfDrive(system_.DriveKind(folder_))};
}

void FolderIconPage::SetPendingLocation(const IconLocation& location) {
  pending_ = IconLocationText(location);
  changed_ = true;
}

void FolderIconPage::SetDefault() {
  pending_.clear();
  changed_ = true;
}

std::vector<std::string> FolderIconPage::Apply() {
  if (!shown_.refusal.empty()) throw Exception(shown_.refusal);
  std::vector<std::string> messages;
  if (!changed_) return messages;
  const std::string before = shown_.location;
  if (driveRoot_)
    ApplyToDrive(messages);
  else
    ApplyToFolder(messages);
  const std::string after = SetFolder(folder_).location;
  if (after.empty() || SameTextFolded(after, before)) shell_.RebuildIconCache();
  shell_.RefreshShell();
  return messages;
}

IconLocation FolderIconPage::CopiedIcon(const std::string& fileName) const {
  IconLocation source = SplitIconLocation(pending_);
  source.file = system_.LocalPath(source.file);
  CopyIconToFile(source, (fs::path(system_.LocalPath(folder_)) / fileName).string());
  return {JoinTypedPath(folder_, fileName), 0};
}

IconLocation FolderIconPage::StoredLocation(IconLocation location) const {
  const fs::path file = Normalized(system_.LocalPath(location.file));
  if (file.parent_path() == Normalized(system_.LocalPath(folder_)))
    location.file = file.filename().string();
  return location;
}

std::string FolderIconPage::LocalIconFile(const IconLocation& stored) const {
  const std::string typed =
      HasFolderPart(stored.file) ? stored.file : JoinTypedPath(folder_, stored.file);
  return system_.LocalPath(typed);
}

void FolderIconPage::ApplyToFolder(std::vector<std::string>& messages) {
  const std::string local = system_.LocalPath(folder_);
  const std::vector<std::string> notes =
      pending_.empty() ? RemoveFolderIcon(local) : WriteFolderIcon(local);
  messages.insert(messages.end(), notes.begin(), notes.end());
}

std::vector<std::string> FolderIconPage::RemoveFolderIcon(const std::string& local) {
  TIniFile desktopIni(DesktopIniOf(local));
  if (fs::exists(desktopIni.FileName())) {
    desktopIni.DeleteKey(kShellClassInfo, "IconFile");
    desktopIni.DeleteKey(kShellClassInfo, "IconIndex");
    desktopIni.UpdateFile();
  }
  return system_.RemoveFolderRecords(local);
}

std::vector<std::string> FolderIconPage::WriteFolderIcon(const std::string& local) {
  const IconLocation location = StoredLocation(copyIcon_ ? CopiedIcon(CopiedIconFileName(folder_))
                                                         : SplitIconLocation(pending_));
  TIniFile desktopIni(DesktopIniOf(local));
  desktopIni.WriteString(kShellClassInfo, "IconFile", location.file);
  desktopIni.WriteInteger(kShellClassInfo, "IconIndex", location.index);
  if (!desktopIni.ValueExists(kShellClassInfo, "ConfirmFileOp"))
    desktopIni.WriteInteger(kShellClassInfo, "ConfirmFileOp", 0);
  desktopIni.WriteString(kShellClassInfo, "OriginalIcon", "%");
  desktopIni.UpdateFile();
  return system_.WriteFolderRecords(local, LocalIconFile(location));
}

void FolderIconPage::ApplyToDrive(std::vector<std::string>& messages) {
  const std::string local = system_.LocalPath(folder_);
  const std::string autorunFile = AutorunInfOf(local);
  if (pending_.empty()) {
    std::error_code ignored;
    fs::remove(autorunFile, ignored);
    system_.DeleteDriveKey(folder_);
    return;
  }
  IconLocation location = SplitIconLocation(pending_);
  if (copyIcon_) {
    try {
      location = CopiedIcon(CopiedDriveIconFileName(folder_));
    } catch (const Exception& error) {
      messages.push_back(error.what());
    }
  }
  location = StoredLocation(location);
  TIniFile autorun(autorunFile);
  autorun.WriteString(kAutoRun, "icon", IconLocationText(location));
  autorun.UpdateFile();
  system_.DeleteDriveKey(folder_);
  if (!HasFolderPart(location.file)) location.file = JoinTypedPath(folder_, location.file);
  system_.SetDriveKeyIcon(folder_, IconLocationText(location));
}

}  // namespace varnel

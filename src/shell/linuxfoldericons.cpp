#include "shell/linuxfoldericons.h"

#include <unistd.h>

#include <filesystem>

#include "collection/kindreaders.h"
#include "platform/inifile.h"
#include "shell/iconlocationtext.h"
#include "shell/typedpath.h"

namespace varnel {

namespace {

namespace fs = std::filesystem;

const char* const kDesktopEntry = "Desktop Entry";
const char* const kVolumeInfo = "Volume Info";

std::string NormalizedPath(const std::string& path) {
  std::error_code error;
  fs::path normal = fs::absolute(path, error).lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  return normal.string();
}

std::string DirectoryFileOf(const std::string& folder) {
  return (fs::path(folder) / ".directory").string();
}

std::string VolumeInfoOf(const std::string& root) {
  return (fs::path(NormalizedPath(root)) / ".xdg-volume-info").string();
}

// Removes key from the file's section, and the file when no value is left in it.
void RemoveKey(const std::string& fileName, const char* section, const char* key) {
  if (!fs::exists(fileName)) return;
  TIniFile file(fileName);
  file.DeleteKey(section, key);
  bool empty = true;
  for (const std::string& name : file.ReadSections())
    empty = empty && file.ReadSectionKeys(name).empty();
  if (empty) {
    std::error_code ignored;
    fs::remove(fileName, ignored);
  } else {
    file.UpdateFile();
  }
}

// True when desktop.ini holds nothing but the keys written beside the icon's.
bool OnlyOwnKeysLeft(const TIniFile& desktopIni) {
  const char* const section = ".ShellClassInfo";
  const std::vector<std::string> sections = desktopIni.ReadSections();
  if (sections.size() != 1 || sections[0] != section) return false;
  for (const std::string& key : desktopIni.ReadSectionKeys(section)) {
    const std::string value = desktopIni.ReadString(section, key, "");
    if (!(key == "ConfirmFileOp" && value == "0") && !(key == "OriginalIcon" && value == "%"))
      return false;
  }
  return true;
}

// Linux has no use for a "desktop.ini" left with only the keys written with an icon.
void RemoveLeftoverDesktopIni(const std::string& localFolder) {
  const std::string fileName = FileInFolderIgnoringCase(localFolder, "desktop.ini");
  std::error_code ignored;
  if (fs::exists(fileName) && OnlyOwnKeysLeft(TIniFile(fileName))) fs::remove(fileName, ignored);
}

constexpr int kPdfSubKind = 3;

// Desktops show an icon file, a picture or a drawing as a folder's icon, but nothing inside a
// module or an icon library: those records would show no icon at all.
bool DesktopShowsIconFile(const std::string& iconFile) {
  const TFileKindInfo info = DetectFileKind(iconFile);
  if (info.kind == TFileKind::fkVectorDrawing) return info.subKind != kPdfSubKind;
  const TKindGroup group = FormatOf(info.kind).group;
  return group == TKindGroup::SingleIcon || group == TKindGroup::Picture;
}

}  // namespace

LinuxFolderIcons::LinuxFolderIcons(TMountTable mounts, FileMetadata& metadata)
    : mounts_(std::move(mounts)), metadata_(metadata) {}

std::string LinuxFolderIcons::LocalPath(const std::string& typedPath) const {
  return typedPath;
}

bool LinuxFolderIcons::IsDriveRoot(const std::string& typedPath) const {
  const std::string path = NormalizedPath(typedPath);
  const TMountEntry* mount = mounts_.MountOf(path);
  return mount && NormalizedPath(mount->mountPoint) == path;
}

TDriveKind LinuxFolderIcons::DriveKind(const std::string& root) const {
  return mounts_.DriveKindOf(NormalizedPath(root));
}

std::string LinuxFolderIcons::DriveRefusal(const std::string& root) const {
  if (DriveKind(root) != TDriveKind::dkRemovable)
    return root +
           " is not removable media: the icon of a fixed or system disk comes from the "
           "desktop's icon theme and is not changed here";
  if (access(root.c_str(), W_OK) != 0)
    return "The removable medium at " + root + " cannot be written to";
  return {};
}

std::string LinuxFolderIcons::DriveKeyIcon(const std::string& root) const {
  return TIniFile(VolumeInfoOf(root)).ReadString(kVolumeInfo, "Icon", "");
}

// ".xdg-volume-info" names an icon by file or theme name, without an index.
void LinuxFolderIcons::SetDriveKeyIcon(const std::string& root, const std::string& location) {
  TIniFile volumeInfo(VolumeInfoOf(root));
  volumeInfo.WriteString(kVolumeInfo, "Icon", SplitIconLocation(location).file);
  volumeInfo.UpdateFile();
}

void LinuxFolderIcons::DeleteDriveKey(const std::string& root) {
  RemoveKey(VolumeInfoOf(root), kVolumeInfo, "Icon");
}

std::vector<std::string> LinuxFolderIcons::WriteFolderRecords(const std::string& localFolder,
                                                              const std::string& iconFile) {
  if (!DesktopShowsIconFile(iconFile)) {
    std::vector<std::string> notes = RemoveFolderRecords(localFolder);
    notes.insert(notes.begin(), "The desktop cannot show an icon inside " + iconFile +
                                    "; copy the icon into the folder to show it there");
    return notes;
  }
  const std::string absoluteIcon = NormalizedPath(iconFile);
  TIniFile directory(DirectoryFileOf(localFolder));
  directory.WriteString(kDesktopEntry, "Icon", absoluteIcon);
  directory.UpdateFile();
  std::vector<std::string> notes;
  const std::string note = metadata_.SetCustomIcon(NormalizedPath(localFolder), absoluteIcon);
  if (!note.empty()) notes.push_back(note);
  return notes;
}

std::vector<std::string> LinuxFolderIcons::RemoveFolderRecords(const std::string& localFolder) {
  RemoveKey(DirectoryFileOf(localFolder), kDesktopEntry, "Icon");
  RemoveLeftoverDesktopIni(localFolder);
  std::vector<std::string> notes;
  const std::string note = metadata_.RemoveCustomIcon(NormalizedPath(localFolder));
  if (!note.empty()) notes.push_back(note);
  return notes;
}

}  // namespace varnel

#include "platform/mounttable.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace varnel {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 16> kNetworkFileSystems = {
    "nfs", "nfs4", "cifs",      "smbfs", "smb3",        "sshfs", "fuse.sshfs", "9p",
    "afs", "ceph", "glusterfs", "davfs", "fuse.rclone", "ncpfs", "coda",       "lustre"};
constexpr std::array<std::string_view, 2> kOpticalFileSystems = {"iso9660", "udf"};
constexpr std::array<std::string_view, 2> kMemoryFileSystems = {"tmpfs", "ramfs"};
// Folders below which media are mounted on demand.
constexpr std::array<std::string_view, 3> kMediaFolders = {"/media/", "/run/media/", "/mnt/"};

template <size_t N>
bool IsOneOf(const std::array<std::string_view, N>& list, std::string_view value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// Fields of /proc/self/mounts write blanks, tabs, line breaks and "\" as octal escapes.
std::string DecodeMountField(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                    [](char c) { return c >= '0' && c <= '7'; })) {
      out += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool IsBelow(const std::string& path, const std::string& mountPoint) {
  if (mountPoint == "/") return !path.empty() && path[0] == '/';
  return path == mountPoint || (path.starts_with(mountPoint) && path.size() > mountPoint.size() &&
                                path[mountPoint.size()] == '/');
}

std::string ReadSmallTextFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Reads /sys/class/block/<name>/removable, or that of the whole disk for a partition.
bool SysfsSaysRemovable(const std::string& device) {
  if (!device.starts_with("/dev/")) return false;
  std::error_code error;
  fs::path resolved = fs::canonical(device, error);
  std::string name = error ? fs::path(device).filename().string() : resolved.filename().string();
  fs::path blockFolder = fs::canonical(fs::path("/sys/class/block") / name, error);
  if (error) return false;
  for (fs::path folder : {blockFolder, blockFolder.parent_path()}) {
    std::string flag = ReadSmallTextFile((folder / "removable").string());
    if (!flag.empty()) return flag[0] == '1';
  }
  return false;
}

// The mount folder (e.g. "/media/") that path lies in, or empty.
std::string_view MediaFolderOf(const std::string& path) {
  for (std::string_view folder : kMediaFolders) {
    if (path.starts_with(folder) && path.size() > folder.size()) return folder;
  }
  return {};
}

}  // namespace

TMountTable TMountTable::Current() {
  return Parse(ReadSmallTextFile("/proc/self/mounts"), SysfsSaysRemovable);
}

TMountTable TMountTable::Parse(std::string_view text, RemovableTest isRemovable) {
  TMountTable table;
  table.isRemovable_ = std::move(isRemovable);
  std::istringstream lines{std::string(text)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint, fsType;
    if (!(fields >> device >> mountPoint >> fsType)) continue;
    table.entries_.push_back(
        {DecodeMountField(device), DecodeMountField(mountPoint), DecodeMountField(fsType)});
  }
  return table;
}

const TMountEntry* TMountTable::MountOf(const std::string& path) const {
  const TMountEntry* best = nullptr;
  for (const TMountEntry& entry : entries_) {
    // A later mount on the same folder hides an earlier one, hence ">=".
    if (IsBelow(path, entry.mountPoint) &&
        (!best || entry.mountPoint.size() >= best->mountPoint.size())) {
      best = &entry;
    }
  }
  return best;
}

TDriveKind TMountTable::KindOfMount(const TMountEntry& mount) const {
  if (IsOneOf(kNetworkFileSystems, mount.fsType)) return TDriveKind::dkRemote;
  if (IsOneOf(kOpticalFileSystems, mount.fsType)) return TDriveKind::dkCDRom;
  if (mount.device.starts_with("/dev/")) {
    return isRemovable_ && isRemovable_(mount.device) ? TDriveKind::dkRemovable
                                                      : TDriveKind::dkFixed;
  }
  // The root is the system disk whatever it is made of (an overlay in a container, say).
  if (mount.mountPoint == "/") return TDriveKind::dkFixed;
  if (IsOneOf(kMemoryFileSystems, mount.fsType)) return TDriveKind::dkRamDisk;
  return TDriveKind::dkUnknown;
}

TDriveKind TMountTable::DriveKindOf(const std::string& path) const {
  const TMountEntry* mount = MountOf(path);
  if (!mount) return TDriveKind::dkNoRootDir;
  // "/media/stick/a.ico" while no stick is mounted: the path points at an absent medium.
  std::string_view mediaFolder = MediaFolderOf(path);
  if (!mediaFolder.empty() && mount->mountPoint.size() < mediaFolder.size()) {
    return TDriveKind::dkNoRootDir;
  }
  return KindOfMount(*mount);
}

std::vector<std::string> TMountTable::FixedDrives() const {
  std::vector<std::string> drives;
  for (const TMountEntry& entry : entries_) {
    if (KindOfMount(entry) != TDriveKind::dkFixed || MountOf(entry.mountPoint) != &entry) continue;
    if (std::find(drives.begin(), drives.end(), entry.mountPoint) == drives.end()) {
      drives.push_back(entry.mountPoint);
    }
  }
  auto root = std::find(drives.begin(), drives.end(), "/");
  if (root != drives.end()) std::rotate(drives.begin(), root, root + 1);
  return drives;
}

}  // namespace varnel

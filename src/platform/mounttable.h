#pragma once
// Mounted file systems and the kind of drive a path lies on. Local block-device file systems
// play the part of fixed disks; network file systems, removable and optical media, and mount
// folders with nothing mounted on them are the other kinds.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

enum class TDriveKind {
  dkNoRootDir,  // nothing is mounted where the path points (an unplugged or unmounted medium)
  dkRemovable,
  dkFixed,
  dkRemote,
  dkCDRom,
  dkRamDisk,
  dkUnknown,  // kernel and pseudo file systems
};

struct TMountEntry {
  std::string device;
  std::string mountPoint;
  std::string fsType;
};

class TMountTable {
 public:
  // Tells whether a block device such as "/dev/sdb1" is removable.
  using RemovableTest = std::function<bool(const std::string& device)>;

  // The mounts of this process (/proc/self/mounts); removability from /sys/class/block.
  static TMountTable Current();
  // A table from text in the form of /proc/self/mounts.
  static TMountTable Parse(std::string_view text, RemovableTest isRemovable);

  const std::vector<TMountEntry>& Entries() const { return entries_; }
  // The mount whose folder holds path (the longest matching mount point); null when none.
  const TMountEntry* MountOf(const std::string& path) const;
  TDriveKind DriveKindOf(const std::string& path) const;
  // Mount points of the fixed drives, "/" first, each listed once.
  std::vector<std::string> FixedDrives() const;

 private:
  TDriveKind KindOfMount(const TMountEntry& mount) const;

  std::vector<TMountEntry> entries_;
  RemovableTest isRemovable_;
};

}  // namespace varnel

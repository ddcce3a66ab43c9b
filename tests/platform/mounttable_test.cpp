#include "platform/mounttable.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

constexpr const char* kMounts =
    "overlay / overlay rw 0 0\n"
    "proc /proc proc rw 0 0\n"
    "tmpfs /run tmpfs rw 0 0\n"
    "/dev/sda2 /home ext4 rw 0 0\n"
    "/dev/sdb1 /media/stick vfat rw 0 0\n"
    "server:/share /mnt/nas nfs4 rw 0 0\n"
    "/dev/sr0 /media/cd iso9660 ro 0 0\n"
    "/dev/sda3 /data\\040disk ext4 rw 0 0\n"
    "bad line\n";

TMountTable SampleTable() {
  return TMountTable::Parse(kMounts,
                            [](const std::string& device) { return device == "/dev/sdb1"; });
}

TEST(MountTableTest, DriveKindsFollowTheMountThatHoldsThePath) {
  TMountTable table = SampleTable();
  EXPECT_EQ(table.DriveKindOf("/usr/share/icons/a.ico"), TDriveKind::dkFixed);
  EXPECT_EQ(table.DriveKindOf("/home/u/a.icl"), TDriveKind::dkFixed);
  EXPECT_EQ(table.DriveKindOf("/homework/a.icl"), TDriveKind::dkFixed);  // below "/", not /home
  EXPECT_EQ(table.MountOf("/homework/a.icl")->mountPoint, "/");
  EXPECT_EQ(table.DriveKindOf("/media/stick/a.ico"), TDriveKind::dkRemovable);
  EXPECT_EQ(table.DriveKindOf("/mnt/nas/a.ico"), TDriveKind::dkRemote);
  EXPECT_EQ(table.DriveKindOf("/media/cd/a.ico"), TDriveKind::dkCDRom);
  EXPECT_EQ(table.DriveKindOf("/data disk/a.ico"), TDriveKind::dkFixed);
  EXPECT_EQ(table.DriveKindOf("/proc/1/exe"), TDriveKind::dkUnknown);
  EXPECT_EQ(table.DriveKindOf("/run/x"), TDriveKind::dkRamDisk);
}

TEST(MountTableTest, PathsOnMediaThatAreNotMountedHaveNoRoot) {
  TMountTable table = SampleTable();
  EXPECT_EQ(table.DriveKindOf("/media/other/a.ico"), TDriveKind::dkNoRootDir);
  EXPECT_EQ(table.DriveKindOf("/run/media/u/usb/a.ico"), TDriveKind::dkNoRootDir);
  EXPECT_EQ(table.DriveKindOf("/mnt/backup/a.ico"), TDriveKind::dkNoRootDir);
  EXPECT_EQ(table.DriveKindOf("relative/a.ico"), TDriveKind::dkNoRootDir);
}

TEST(MountTableTest, FixedDrivesStartWithTheRoot) {
  TMountTable table = TMountTable::Parse(
      "/dev/sda2 /home ext4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/s vfat rw 0 0\n"
      "/dev/sda2 /home ext4 rw 0 0\n",
      [](const std::string& device) { return device == "/dev/sdb1"; });
  EXPECT_EQ(table.FixedDrives(), (std::vector<std::string>{"/", "/home"}));
}

TEST(MountTableTest, TheCurrentTableKnowsTheRoot) {
  TMountTable table = TMountTable::Current();
  ASSERT_FALSE(table.Entries().empty());
  EXPECT_EQ(table.DriveKindOf("/"), TDriveKind::dkFixed);
}

}  // namespace
}  // namespace varnel

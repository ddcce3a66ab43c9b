// The folder page on the Linux desktop: ".directory", "desktop.ini" and the GIO attribute written
// and removed again, drive roots on removable media, and fixed disks refused.

#include "shell/linuxfoldericons.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/inifile.h"
#include "recordingshell.h"
#include "resources/iconfixtures.h"
#include "shell/foldericon.h"
#include "shelltestsupport.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

class RecordingMetadata : public FileMetadata {
 public:
  std::string SetCustomIcon(const std::string& folder, const std::string& iconFile) override {
    icons[folder] = iconFile;
    return {};
  }
  std::string RemoveCustomIcon(const std::string& folder) override {
    icons.erase(folder);
    return "not running";
  }
  std::map<std::string, std::string> icons;
};

void WriteSourceIcon(const std::string& fileName) {
  TAdvancedIcon icon;
  icon.Images().Add(test::DibImage(16, 8));
  icon.SaveToFile(fileName);
}

class LinuxFolderIconsTest : public ::testing::Test {
 protected:
  LinuxFolderIconsTest() {
    fs::create_directories(Folder());
    fs::create_directories(dir.File("stick"));
    fs::create_directories(dir.File("disk"));
    WriteSourceIcon(dir.File("source.ico"));
  }

  std::string Folder() const { return dir.File("Work/Icons"); }

  // Mounts: the temporary folder's "stick" on a removable device, "disk" on a fixed one.
  TMountTable Mounts() const {
    const std::string text = "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + dir.File("stick") +
                             " vfat rw 0 0\n/dev/sda2 " + dir.File("disk") + " ext4 rw 0 0\n";
    return TMountTable::Parse(text,
                              [](const std::string& device) { return device == "/dev/sdb1"; });
  }

  test::TempDir dir;
  RecordingMetadata metadata;
  LinuxFolderIcons system{Mounts(), metadata};
  test::RecordingShell shell;
  FolderIconPage page{system, shell};
};

TEST_F(LinuxFolderIconsTest, IconWritesAllThreeRecordsAndDefaultRemovesThem) {
  ASSERT_EQ(page.SetFolder(Folder()).refusal, "");
  page.SetPendingLocation({dir.File("source.ico"), 0});
  EXPECT_TRUE(page.Apply().empty());

  const std::string copy = (fs::path(Folder()) / CopiedIconFileName(Folder())).string();
  EXPECT_TRUE(fs::exists(copy));
  EXPECT_EQ(TIniFile(Folder() + "/.directory").ReadString("Desktop Entry", "Icon", ""), copy);
  EXPECT_EQ(TIniFile(Folder() + "/desktop.ini").ReadString(".ShellClassInfo", "IconFile", ""),
            fs::path(copy).filename().string());
  EXPECT_EQ(metadata.icons[Folder()], copy);

  page.SetDefault();
  EXPECT_EQ(page.Apply(), std::vector<std::string>{"not running"});
  EXPECT_FALSE(fs::exists(Folder() + "/.directory"));
  EXPECT_FALSE(fs::exists(Folder() + "/desktop.ini"));
  EXPECT_TRUE(metadata.icons.empty());
}

TEST_F(LinuxFolderIconsTest, AnIconLeftInsideALibraryIsNotGivenToTheDesktop) {
  test::WriteIconLibrary(dir.File("picks.icl"), {{"a", 16}, {"b", 32}});
  page.SetFolder(Folder());
  page.SetCopyIconIntoFolder(false);
  page.SetPendingLocation({dir.File("source.ico"), 0});
  EXPECT_TRUE(page.Apply().empty());  // an icon file is shown where it is
  EXPECT_EQ(metadata.icons[Folder()], dir.File("source.ico"));

  page.SetPendingLocation({dir.File("picks.icl"), 1});
  std::vector<std::string> notes = page.Apply();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes[0], "The desktop cannot show an icon inside " + dir.File("picks.icl") +
                          "; copy the icon into the folder to show it there");
  EXPECT_FALSE(fs::exists(Folder() + "/.directory")) << "no record left naming the old icon";
  EXPECT_TRUE(metadata.icons.empty());
  TIniFile desktopIni(Folder() + "/desktop.ini");
  EXPECT_EQ(desktopIni.ReadString(".ShellClassInfo", "IconFile", ""), dir.File("picks.icl"));
  EXPECT_EQ(desktopIni.ReadInteger(".ShellClassInfo", "IconIndex", 0), 1);
}

TEST_F(LinuxFolderIconsTest, DefaultKeepsFilesThatHoldOtherKeys) {
  test::WriteText(Folder() + "/.directory",
                  "[Desktop Entry]\nIcon=old.png\n[Dolphin]\nViewMode=1\n");
  test::WriteText(
      Folder() + "/Desktop.ini",
      "[.ShellClassInfo]\nIconFile=a.ico\nIconIndex=0\nConfirmFileOp=0\nInfoTip=Mine\n");
  EXPECT_EQ(page.SetFolder(Folder()).location, Folder() + "/a.ico,0");
  page.SetDefault();
  page.Apply();
  EXPECT_EQ(test::FileText(Folder() + "/.directory"), "[Desktop Entry]\n[Dolphin]\nViewMode=1\n");
  EXPECT_EQ(test::FileText(Folder() + "/Desktop.ini"),
            "[.ShellClassInfo]\nConfirmFileOp=0\nInfoTip=Mine\n");
}

TEST_F(LinuxFolderIconsTest, RemovableRootGetsVolumeInfoAndAutorun) {
  const std::string root = dir.File("stick");
  const FolderIconShown shown = page.SetFolder(root + "/");
  ASSERT_TRUE(page.IsDriveRoot());
  EXPECT_EQ(shown.refusal, "");
  EXPECT_EQ(shown.stockIcon, 7);
  page.SetPendingLocation({dir.File("source.ico"), 0});
  page.Apply();
  EXPECT_EQ(TIniFile(root + "/.xdg-volume-info").ReadString("Volume Info", "Icon", ""),
            root + "/AutoRun.ico");
  EXPECT_EQ(TIniFile(root + "/Autorun.inf").ReadString("AutoRun", "icon", ""), "AutoRun.ico,0");

  page.SetDefault();
  page.Apply();
  EXPECT_FALSE(fs::exists(root + "/.xdg-volume-info"));
  EXPECT_FALSE(fs::exists(root + "/Autorun.inf"));
}

TEST_F(LinuxFolderIconsTest, FixedDisksAreRefusedButFoldersOnThemAreNot) {
  EXPECT_NE(page.SetFolder(dir.File("disk")).refusal, "");
  EXPECT_EQ(page.Shown().stockIcon, 8);
  EXPECT_NE(page.SetFolder("/").refusal, "");
  fs::create_directories(dir.File("disk/sub"));
  EXPECT_EQ(page.SetFolder(dir.File("disk/sub")).refusal, "");
  EXPECT_FALSE(page.IsDriveRoot());
}

// The GIO attribute needs a session bus with the gvfs metadata daemon: the test runs itself again
// under dbus-run-session with a temporary HOME, so that the daemon's database lands there.
const char* const kInsideSession = "VARNEL_GIO_SESSION_FOLDER";

TEST(GioFolderIcon, AttributeIsSetAndRemovedInsideASession) {
  const char* folder = std::getenv(kInsideSession);
  if (!folder) GTEST_SKIP() << "runs only under the session the next test starts";
  const std::unique_ptr<FileMetadata> metadata = MakeGioFileMetadata();
  ASSERT_EQ(metadata->SetCustomIcon(folder, std::string(folder) + "/icon.png"), "");
  const auto info =
      test::RunCommand(std::string("gio info -a metadata::custom-icon '") + folder + "'");
  EXPECT_NE(info.out.find("metadata::custom-icon: file://"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("/icon.png"), std::string::npos) << info.out;
  ASSERT_EQ(metadata->RemoveCustomIcon(folder), "");
  const auto after =
      test::RunCommand(std::string("gio info -a metadata::custom-icon '") + folder + "'");
  EXPECT_EQ(after.out.find("metadata::custom-icon"), std::string::npos) << after.out;
}

TEST(GioFolderIcon, UnderDbusRunSessionWithTemporaryHome) {
  if (std::getenv(kInsideSession)) GTEST_SKIP();
  if (!fs::exists("/usr/libexec/gvfsd-metadata") ||
      test::RunCommand("command -v dbus-run-session && command -v gio").status != 0)
    GTEST_SKIP() << "gvfs-daemons, dbus-run-session or gio missing";
  test::TempDir home;
  fs::create_directories(home.File("folder"));
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string command =
      "env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY HOME='" + home.Path() +
      "' XDG_DATA_HOME='" + home.File(".local/share") + "' XDG_CONFIG_HOME='" +
      home.File(".config") + "' XDG_CACHE_HOME='" + home.File(".cache") + "' XDG_RUNTIME_DIR='" +
      home.Path() + "' " + kInsideSession + "='" + home.File("folder") + "' dbus-run-session -- '" +
      self + "' --gtest_filter=GioFolderIcon.AttributeIsSetAndRemovedInsideASession 2>&1";
  const auto result = test::RunCommand(command);
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find("[  PASSED  ] 1 test"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace varnel

// The folder page over the registry store, with Windows paths on a drive letter mapped onto a
// temporary folder.

#include "shell/registryfoldericons.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "recordingshell.h"
#include "resources/iconfixtures.h"
#include "shell/foldericon.h"
#include "support/corpus.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

class RegistryFolderIconsTest : public ::testing::Test {
 protected:
  RegistryFolderIconsTest() : store(dir.File("registry.txt")), system(store), page(system, shell) {
    fs::create_directories(dir.File("D/Work/Icons"));
    system.MapDrive('D', dir.File("D"), TDriveKind::dkRemovable);
    TAdvancedIcon icon;
    icon.Images().Add(test::DibImage(16, 8));
    icon.SaveToFile(dir.File("D/source.ico"));
  }

  std::string DesktopIni(const std::string& key) const {
    return TIniFile(dir.File("D/Work/Icons/desktop.ini")).ReadString(".ShellClassInfo", key, "?");
  }

  std::string DriveKeyValue() {
    TRegistry registry(store);
    registry.SetRootKey(TRootKey::HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(DriveIconKey("D:\\"))) return "(no key)";
    return registry.ReadString("");
  }

  test::TempDir dir;
  TRegistryStore store;
  RegistryFolderIcons system;
  test::RecordingShell shell;
  FolderIconPage page;
};

TEST_F(RegistryFolderIconsTest, CopiedIconIsNamedAfterTheFolderAndStoredWithoutFolder) {
  EXPECT_EQ(page.SetFolder("D:\\Work\\Icons").refusal, "");
  EXPECT_EQ(page.Shown().location, "");
  page.SetPendingLocation({"D:\\source.ico", 0});
  EXPECT_TRUE(page.Apply().empty());

  EXPECT_TRUE(fs::exists(dir.File("D/Work/Icons/Dwork_icons.ico")));
  EXPECT_EQ(DesktopIni("IconFile"), "Dwork_icons.ico");
  EXPECT_EQ(DesktopIni("IconIndex"), "0");
  EXPECT_EQ(DesktopIni("ConfirmFileOp"), "0");
  EXPECT_EQ(DesktopIni("OriginalIcon"), "%");
  EXPECT_EQ(page.Shown().location, "D:\\Work\\Icons\\Dwork_icons.ico,0");
  EXPECT_EQ(shell.rebuilds, 0);
  EXPECT_EQ(shell.refreshes, 1);
}

TEST_F(RegistryFolderIconsTest, DefaultRemovesOnlyTheIconKeysAndRebuildsTheCache) {
  test::WriteText(
      dir.File("D/Work/Icons/desktop.ini"),
      "[.ShellClassInfo]\nConfirmFileOp=1\nIconFile=x.ico\nIconIndex=2\nInfoTip=Mine\n");
  EXPECT_EQ(page.SetFolder("D:\\Work\\Icons").location, "D:\\Work\\Icons\\x.ico,2");
  page.SetDefault();
  page.Apply();
  EXPECT_EQ(DesktopIni("IconFile"), "?");
  EXPECT_EQ(DesktopIni("IconIndex"), "?");
  EXPECT_EQ(DesktopIni("ConfirmFileOp"), "1");
  EXPECT_EQ(DesktopIni("InfoTip"), "Mine");
  EXPECT_EQ(shell.rebuilds, 1);
}

TEST_F(RegistryFolderIconsTest, WithoutCopyingALocationElsewhereKeepsItsFolder) {
  page.SetFolder("D:\\Work\\Icons");
  page.SetCopyIconIntoFolder(false);
  page.SetPendingLocation({"D:\\source.ico", 3});
  page.Apply();
  EXPECT_EQ(DesktopIni("IconFile"), "D:\\source.ico");
  EXPECT_EQ(DesktopIni("IconIndex"), "3");
  EXPECT_FALSE(fs::exists(dir.File("D/Work/Icons/Dwork_icons.ico")));

  page.SetPendingLocation({"D:\\Work\\Icons\\own.dll", -7});
  page.Apply();
  EXPECT_EQ(DesktopIni("IconFile"), "own.dll");
  EXPECT_EQ(DesktopIni("IconIndex"), "-7");
}

TEST_F(RegistryFolderIconsTest, MissingAndSystemFoldersAreRefused) {
  EXPECT_EQ(page.SetFolder("D:\\Nowhere").refusal, "Folder not found: D:\\Nowhere");
  page.SetDefault();
  EXPECT_THROW(page.Apply(), Exception);

  test::WriteText(dir.File("D/Work/desktop.ini"), "[.ShellClassInfo]\nCLSID2={0AFACED1}\n");
  EXPECT_EQ(page.SetFolder("D:\\Work").refusal,
            "It's a system folder. Customize it with other tabsheets");
  EXPECT_EQ(page.SetFolder("Q:\\").refusal, "Folder not found: Q:\\");
}

TEST_F(RegistryFolderIconsTest, DriveRootGetsAutorunAndTheDriveKeyAndDefaultRemovesBoth) {
  const FolderIconShown shown = page.SetFolder("D:\\");
  EXPECT_TRUE(page.IsDriveRoot());
  EXPECT_EQ(shown.stockIcon, 7);
  page.SetPendingLocation({"D:\\source.ico", 0});
  EXPECT_TRUE(page.Apply().empty());
  EXPECT_TRUE(fs::exists(dir.File("D/AutoRunD.ico")));
  EXPECT_EQ(TIniFile(dir.File("D/Autorun.inf")).ReadString("AutoRun", "icon", ""),
            "AutoRunD.ico,0");
  EXPECT_EQ(DriveKeyValue(), "D:\\AutoRunD.ico,0");
  EXPECT_EQ(page.Shown().location, "D:\\AutoRunD.ico,0");

  page.SetDefault();
  page.Apply();
  EXPECT_FALSE(fs::exists(dir.File("D/Autorun.inf")));
  EXPECT_EQ(DriveKeyValue(), "(no key)");
}

TEST_F(RegistryFolderIconsTest, DriveCopyErrorIsReportedAndTheSourceKept) {
  page.SetFolder("D:\\");
  page.SetPendingLocation({"D:\\nothing.dll", 2});
  const std::vector<std::string> messages = page.Apply();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Invalid icon. Can not save");
  EXPECT_EQ(DriveKeyValue(), "D:\\nothing.dll,2");
}

TEST_F(RegistryFolderIconsTest, DriveShowsTheKeyWhenAutorunHasNoIcon) {
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::HKEY_LOCAL_MACHINE);
  registry.OpenKey(DriveIconKey("d:"), true);
  registry.WriteString("", "C:\\drive.ico,1");
  EXPECT_EQ(page.SetFolder("D:").location, "C:\\drive.ico,1");
}

}  // namespace
}  // namespace varnel

#include "shell/registryshellicons.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fakeuserinterface.h"
#include "shell/customiconseditor.h"
#include "shelltestsupport.h"

namespace varnel {
namespace {

constexpr const char* kRecycleClass = "645FF040-5081-101B-9F08-00AA002F954E";
constexpr const char* kMyComputerClass = "20D04FE0-3AEA-1069-A2D8-08002B30309D";
constexpr const char* kShellIcons =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Icons";
constexpr int kRecycleFullRow = 2;
constexpr int kHardDriveRow = 26;

std::string RootClassIconKey(const char* id) {
  return std::string("HKEY_CLASSES_ROOT\\CLSID\\{") + id + "}\\DefaultIcon";
}
std::string UserClassIconKey(const char* id) {
  return std::string("HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{") + id + "}\\DefaultIcon";
}

// A Windows folder in a temporary folder whose System32 holds shell32.dll, a registry store
// beside it, the shell over both, and the window's logic.
class RegistryIconsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(home.Path("WINDOWS/System32"));
    test::WriteIconLibrary(home.Path("WINDOWS/System32/shell32.dll"), {{"1", 16}, {"137", 32}});
  }

  RegistryShellIcons& Shell(WindowsVersion version = {}) {
    shell = std::make_unique<RegistryShellIcons>(
        store,
        RegistryShellSetup{version, home.Path("WINDOWS"), home.Path("WINDOWS") + "\\System32"});
    editor = std::make_unique<CustomIconsEditor>(*shell, ui);
    editor->BuildLists();
    return *shell;
  }
  std::string Shell32(int index) const {
    return home.Path("WINDOWS") + "\\System32\\shell32.dll," + std::to_string(index);
  }
  std::string Value(const std::string& key, const std::string& name) const {
    const TRegistryValue* value = store.FindValue(key, name);
    return value ? value->text : "(absent)";
  }
  void Set(const std::string& key, const std::string& name, const std::string& text) {
    TRegistryValue value;
    value.name = name;
    value.text = text;
    store.SetValue(key, value);
  }

  test::TemporaryHome home;
  TRegistryStore store{home.Path("registry.txt")};
  FakeUserInterface ui;
  std::unique_ptr<RegistryShellIcons> shell;
  std::unique_ptr<CustomIconsEditor> editor;
};

TEST_F(RegistryIconsTest, ListsOnlyEntriesWhoseFilesExist) {
  Set(RootClassIconKey(kMyComputerClass), "", "%SystemRoot%\\missing.exe,0");
  Set(RootClassIconKey(kRecycleClass), "full", "shell32.dll,1");
  Shell();
  EXPECT_EQ(editor->EntryOfRow(0), -1);  // My Computer: neither file exists
  int full = editor->EntryOfRow(kRecycleFullRow);
  ASSERT_GE(full, 0);
  EXPECT_EQ(editor->Entries()[size_t(full)].caption, "Recycle (Full)");
  EXPECT_EQ(editor->EntryOfRow(3), -1);  // the "empty" value is not there
  // Stock rows default to shell32.dll, which exists; "Close Session" is dropped on NT systems.
  EXPECT_GE(editor->EntryOfRow(kHardDriveRow), 0);
  EXPECT_EQ(editor->EntryOfRow(48), -1);
  EXPECT_EQ(editor->PageEntries(TIconPage::Drives).size(), 9u);
}

TEST_F(RegistryIconsTest, DropsInternetWhenTheBrowserSitsOnTheDesktop) {
  const char* browser = "871C5380-42A0-1069-A2EA-08002B30309D";
  const char* internet = "FBF23B42-E3F0-101B-8488-00AA003E56F8";
  Set(RootClassIconKey(internet), "", "shell32.dll,1");
  Set(UserClassIconKey(browser), "", "shell32.dll,1");
  Shell();
  EXPECT_GE(editor->EntryOfRow(13), 0);
  Set("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet "
      "Explorer\\AdvancedOptions\\BROWSE\\IEONDESKTOP",
      "RegPath", "Software\\CLSID\\{871c5380-42a0-1069-a2ea-08002b30309d}");
  Shell();
  EXPECT_GE(editor->EntryOfRow(14), 0);
  EXPECT_EQ(editor->EntryOfRow(13), -1);
}

TEST_F(RegistryIconsTest, RestoreAllWritesNothingUntilApply) {
  Set(kShellIcons, "8", Shell32(1));
  Set(kShellIcons, "3", Shell32(1));
  Shell();
  std::string before = store.Text();
  editor->RestoreAll(TIconPage::Drives);
  for (int entry : editor->PageEntries(TIconPage::Drives))
    EXPECT_EQ(editor->Entries()[size_t(entry)].pending, kDefaultMarker);
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(store.Text(), before);
  editor.reset();  // Cancel
  EXPECT_EQ(store.Text(), before);
  EXPECT_TRUE(shell->Calls().empty());

  Shell();
  editor->RestoreAll(TIconPage::Drives);
  editor->Apply();
  EXPECT_EQ(Value(kShellIcons, "8"), "(absent)");
  EXPECT_EQ(Value(kShellIcons, "3"), Shell32(1));  // the Miscellaneous page was not restored
  EXPECT_FALSE(editor->Modified());
  // A stock icon changed: the cache is rebuilt (two broadcasts and a refresh), then a refresh.
  std::vector<TShellCall> expected = {TShellCall::SettingChange, TShellCall::SettingChange,
                                      TShellCall::Refresh, TShellCall::Refresh};
  EXPECT_EQ(shell->Calls(), expected);
}

TEST_F(RegistryIconsTest, ColorizeWritesRecycleFullIntoInstalledIcons) {
  Set(RootClassIconKey(kRecycleClass), "full", "shell32.dll,-137");
  Shell();
  int full = editor->EntryOfRow(kRecycleFullRow);
  ASSERT_GE(full, 0);
  ASSERT_TRUE(editor->Colorize(full, RGB(0, 128, 0)));
  std::string file = home.Path(".local/share/Varnel/InstalledIcons/RecycleFull.ico");
  EXPECT_EQ(editor->Entries()[size_t(full)].pending, file + ",0");
  TAdvancedIcon written;
  ASSERT_TRUE(written.LoadFromFile(file));
  EXPECT_EQ(test::FirstImageWidth(&written), 32);  // the icon named 137, not position 137
  EXPECT_EQ(editor->LastColor(), RGB(0, 128, 0));

  // A source without an icon is refused with a message and changes nothing.
  Set(RootClassIconKey(kRecycleClass), "full", "shell32.dll,7");
  Shell();
  full = editor->EntryOfRow(kRecycleFullRow);
  EXPECT_FALSE(editor->Colorize(full, RGB(0, 0, 255)));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kInvalidIconMessage);
  EXPECT_TRUE(editor->Entries()[size_t(full)].pending.empty());
}

TEST_F(RegistryIconsTest, ClassRowsWriteTheShownDefaultValueTooAndRestoreByDeleting) {
  Set(RootClassIconKey(kRecycleClass), "full", "shell32.dll,1");
  std::string userKey = UserClassIconKey(kRecycleClass);
  Set(userKey, "", Shell32(0));
  Set(userKey, "full", Shell32(0));
  Shell();
  int full = editor->EntryOfRow(kRecycleFullRow);
  editor->Change(full, {home.Path("new.ico"), 0});
  editor->Apply();
  EXPECT_EQ(Value(userKey, "full"), home.Path("new.ico") + ",0");
  EXPECT_EQ(Value(userKey, ""), home.Path("new.ico") + ",0");  // the full state was the one shown
  EXPECT_EQ(editor->Entries()[size_t(full)].current, home.Path("new.ico") + ",0");

  editor->SetDefault(full);
  editor->Apply();
  EXPECT_FALSE(store.KeyExists(userKey));  // left without values, so deleted
  EXPECT_EQ(editor->Entries()[size_t(full)].current, "shell32.dll,1");
}

TEST_F(RegistryIconsTest, DefaultsFollowTheSystemClass) {
  Set("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion", "Version", "Windows 95");
  Set(RootClassIconKey(kMyComputerClass), "", "shell32.dll,1");
  RegistryShellIcons& win95 = Shell({TPlatformFamily::Win9x, 4, 0});
  EXPECT_TRUE(win95.Classes().win95);
  EXPECT_EQ(
      Value("HKEY_CURRENT_USER\\Software\\Tamberly\\CustomIcons\\DefaultIcons", kMyComputerClass),
      "shell32.dll,1");
  // Later the record wins over the system's value.
  Set(RootClassIconKey(kMyComputerClass), "", "other.dll,2");
  Shell({TPlatformFamily::Win9x, 4, 0});
  EXPECT_EQ(editor->Entries()[size_t(editor->EntryOfRow(0))].defaultValue, "shell32.dll,1");

  RegistryShellIcons& xp = Shell({TPlatformFamily::NT, 5, 1});
  EXPECT_TRUE(xp.Classes().xp);
  EXPECT_FALSE(editor->PageShown(TIconPage::StartMenu));
  EXPECT_TRUE(editor->PageEntries(TIconPage::StartMenu).empty());
  SystemIconValues controlPanel = xp.ReadRow(7);
  EXPECT_EQ(controlPanel.defaultValue, "%SystemRoot%\\System32\\shell32.dll,-137");
  EXPECT_EQ(xp.ReadRow(0).defaultValue, "%SystemRoot%\\EXPLORER.EXE,0");
  // Only XP has fixed defaults for Control Panel; NT 5.0 reads the system's value.
  RegistryShellIcons& nt5 = Shell({TPlatformFamily::NT, 5, 0});
  EXPECT_EQ(nt5.ReadRow(7).defaultValue, "");
  EXPECT_EQ(nt5.ReadRow(3).defaultValue, "%SystemRoot%\\System32\\shell32.dll,31");
}

TEST_F(RegistryIconsTest, DepthChangeAsksForARestart) {
  Shell();
  EXPECT_EQ(editor->AppliedSettings().iconSize, 32);
  EXPECT_EQ(editor->AppliedSettings().colorDepth, 4);
  TCustomIconState state = editor->EditedSettings();
  state.colorDepth = 24;
  state.iconSize = 48;
  editor->EditSettings(state);
  ui.messageAnswers.push_back(TModalResult::mrYes);
  editor->Apply();
  const std::string metrics = "HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics";
  EXPECT_EQ(Value(metrics, "Shell Icon BPP"), "24");
  EXPECT_EQ(Value(metrics, "Shell Icon Size"), "48");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kRestartQuestion);
  EXPECT_EQ(ui.messages[0].caption, "Query");
  std::vector<TShellCall> expected = {TShellCall::SettingChange, TShellCall::ShutdownPrivilege,
                                      TShellCall::Restart};
  EXPECT_EQ(shell->Calls(), expected);
}

TEST_F(RegistryIconsTest, IconCacheRebuildBumpsTheIconSizeAndPutsItBack) {
  Shell();
  test::WriteText(home.Path("WINDOWS/ShellIconCache"), "cache");
  editor->RebuildIconCache();
  EXPECT_FALSE(std::filesystem::exists(home.Path("WINDOWS/ShellIconCache")));
  EXPECT_EQ(Value("HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size"),
            "32");
}

}  // namespace
}  // namespace varnel

#include "shell/desktopthemeicons.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/desktopiconthemesetting.h"
#include "platform/externalprogram.h"
#include "platform/fakeuserinterface.h"
#include "shell/customiconseditor.h"
#include "shelltestsupport.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

constexpr int kRecycleFullRow = 2;
constexpr int kHardDriveRow = 26;
constexpr const char* kGtkSettings =
    "[Settings]\ngtk-theme-name=Adwaita\ngtk-icon-theme-name=Papirus\n";

// A temporary home whose GTK settings (and GSettings) name the theme "Papirus", an icon library to
// pick from, and the window's logic over the Linux desktop.
class DesktopThemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home.Path(".config/gtk-3.0"));
    test::WriteText(GtkSettingsFile(), kGtkSettings);
    test::WriteIconLibrary(home.Path("picks.icl"), {{"a", 16}, {"b", 48}});
    if (IconThemePlaceInUse(TIconThemePlace::Gnome))
      WriteIconThemeSetting(TIconThemePlace::Gnome, "Papirus");
    editor.BuildLists();
  }
  std::string GtkSettingsFile() const { return home.Path(".config/gtk-3.0/settings.ini"); }
  std::string ThemeFile(const std::string& below) const {
    return home.Path(".local/share/icons/Varnel-Custom/" + below);
  }

  test::TemporaryHome home;
  FakeUserInterface ui;
  DesktopThemeIcons desktop;
  CustomIconsEditor editor{desktop, ui};
};

TEST_F(DesktopThemeTest, ListsOnlyRowsWithAFreedesktopName) {
  EXPECT_GE(editor.EntryOfRow(kRecycleFullRow), 0);
  EXPECT_EQ(editor.EntryOfRow(5), -1);  // My Briefcase has no counterpart
  EXPECT_FALSE(editor.SettingsEditable());
  for (const TCustomIconFileInfo& entry : editor.Entries())
    EXPECT_FALSE(SystemIconTable()[size_t(entry.row)].linuxName.empty());
}

TEST_F(DesktopThemeTest, ApplyingWritesTheThemeAndRestoreAllPutsEverythingBack) {
  bool gnome = IconThemePlaceInUse(TIconThemePlace::Gnome);
  std::optional<std::string> gnomeBefore = ReadIconThemeSetting(TIconThemePlace::Gnome);

  editor.Change(editor.EntryOfRow(kRecycleFullRow), {home.Path("picks.icl"), 1});
  editor.Change(editor.EntryOfRow(kHardDriveRow), {home.Path("picks.icl"), 0});
  editor.Apply();
  EXPECT_TRUE(fs::exists(ThemeFile("48x48/places/user-trash-full.png")));
  EXPECT_TRUE(fs::exists(ThemeFile("16x16/devices/drive-harddisk.png")));
  std::string index = test::FileText(ThemeFile("index.theme"));
  EXPECT_NE(index.find("Inherits=Papirus,hicolor"), std::string::npos) << index;
  EXPECT_NE(index.find("[48x48/places]\nSize=48\n"), std::string::npos) << index;
  EXPECT_EQ(ReadIconThemeSetting(TIconThemePlace::Gtk), kCustomThemeName);
  if (gnome) {
    EXPECT_EQ(ReadIconThemeSetting(TIconThemePlace::Gnome), kCustomThemeName);
  }
  if (!FindProgramOnPath("gtk-update-icon-cache").empty()) {
    EXPECT_TRUE(fs::exists(ThemeFile("icon-theme.cache")));
  }

  // Reopening shows what was chosen; restoring one icon keeps the theme for the other.
  CustomIconsEditor reopened(desktop, ui);
  reopened.BuildLists();
  int full = reopened.EntryOfRow(kRecycleFullRow);
  EXPECT_EQ(reopened.Entries()[size_t(full)].current, home.Path("picks.icl") + ",1");
  reopened.RestoreAll(TIconPage::Drives);
  reopened.Apply();
  EXPECT_FALSE(fs::exists(ThemeFile("16x16/devices/drive-harddisk.png")));
  EXPECT_TRUE(fs::exists(ThemeFile("48x48/places/user-trash-full.png")));
  EXPECT_EQ(test::FileText(ThemeFile("index.theme")).find("16x16"), std::string::npos);

  reopened.RestoreAll(TIconPage::Desktop);
  reopened.Apply();
  EXPECT_FALSE(fs::exists(ThemeFile("")));
  EXPECT_EQ(test::FileText(GtkSettingsFile()), kGtkSettings);
  if (gnome) {
    EXPECT_EQ(ReadIconThemeSetting(TIconThemePlace::Gnome), gnomeBefore);
  }
  EXPECT_FALSE(fs::exists(home.Path(".local/share/Varnel/customicons.ini")));
}

TEST_F(DesktopThemeTest, UninstallRestoreRemovesTheThemeAndAnAddedSetting) {
  fs::remove(GtkSettingsFile());
  editor.Change(editor.EntryOfRow(kRecycleFullRow), {home.Path("picks.icl"), 0});
  editor.Apply();
  EXPECT_EQ(ReadIconThemeSetting(TIconThemePlace::Gtk), kCustomThemeName);
  if (!FindProgramOnPath("gtk-update-icon-cache").empty()) {
    EXPECT_TRUE(fs::exists(ThemeFile("icon-theme.cache")));  // a desktop object alone changed
  }
  RestoreDesktopIconTheme();
  EXPECT_FALSE(fs::exists(ThemeFile("")));
  EXPECT_EQ(ReadIconThemeSetting(TIconThemePlace::Gtk), std::nullopt);
  EXPECT_FALSE(fs::exists(GtkSettingsFile()));  // the file was made for the theme alone
}

TEST_F(DesktopThemeTest, AGnomeKeyTheUserNeverSetIsResetNotSetToTheDefaultName) {
  if (!IconThemePlaceInUse(TIconThemePlace::Gnome)) GTEST_SKIP() << "no GNOME interface schema";
  ASSERT_TRUE(WriteIconThemeSetting(TIconThemePlace::Gnome, std::nullopt));
  std::string keyFile = home.Path(".config/glib-2.0/settings/keyfile");
  editor.Change(editor.EntryOfRow(kRecycleFullRow), {home.Path("picks.icl"), 0});
  editor.Apply();
  EXPECT_NE(test::FileText(keyFile).find("icon-theme='Varnel-Custom'"), std::string::npos);
  RestoreDesktopIconTheme();
  EXPECT_EQ(test::FileText(keyFile).find("icon-theme"), std::string::npos)
      << test::FileText(keyFile);
}

TEST_F(DesktopThemeTest, AnUnchangedIconIsTheThemesFileAndCanBeColourisedAndSaved) {
  std::string theme = home.Path(".local/share/icons/Papirus");
  fs::create_directories(theme + "/48x48/places");
  test::WriteText(theme + "/index.theme",
                  "[Icon Theme]\nName=Papirus\nDirectories=48x48/places\n\n"
                  "[48x48/places]\nSize=48\nType=Fixed\n");
  std::vector<uint8_t> png = test::SquareIcon(48)->Images()[0]->SaveToPng();
  std::string themeIcon = theme + "/48x48/places/user-trash-full.png";
  test::WriteText(themeIcon, std::string(png.begin(), png.end()));

  DesktopThemeIcons fresh;
  CustomIconsEditor reopened(fresh, ui);
  reopened.BuildLists();
  int full = reopened.EntryOfRow(kRecycleFullRow);
  EXPECT_EQ(reopened.Entries()[size_t(full)].defaultValue, themeIcon + ",0");
  EXPECT_EQ(reopened.ShownLocation(full), themeIcon + ",0");
  ASSERT_TRUE(reopened.Colorize(full, TColor(0x0000FF)));
  std::string colourised = home.Path(".local/share/Varnel/InstalledIcons/RecycleFull.ico");
  EXPECT_EQ(reopened.Entries()[size_t(full)].pending, colourised + ",0");
  TAdvancedIcon saved;
  ASSERT_TRUE(saved.LoadFromFile(colourised));
  EXPECT_EQ(test::FirstImageWidth(&saved), 48);
  EXPECT_TRUE(reopened.SaveAs(reopened.EntryOfRow(kRecycleFullRow), home.Path("trash.ico")));
  // A location without an icon still says so.
  reopened.Change(full, {home.Path("picks.icl"), 9});
  EXPECT_FALSE(reopened.SaveAs(full, home.Path("none.ico")));
  EXPECT_EQ(ui.messages.back().text, kInvalidIconMessage);
}

TEST_F(DesktopThemeTest, ALocationWithoutAnIconIsRefused) {
  editor.Change(editor.EntryOfRow(kRecycleFullRow), {home.Path("picks.icl"), 9});
  EXPECT_THROW(editor.Apply(), Exception);
  EXPECT_FALSE(fs::exists(ThemeFile("index.theme")));
}

}  // namespace
}  // namespace varnel

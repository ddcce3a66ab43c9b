#include "shell/iconlocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "shell/systemicontable.h"
#include "shelltestsupport.h"

namespace varnel {
namespace {

LocationFolders FoldersWith(std::set<std::string> existing) {
  return {"C:\\WINDOWS", "C:\\WINDOWS\\System32",
          [existing](const std::string& path) { return existing.count(path) > 0; }};
}

TEST(IconLocationTest, SplitsTheIndexOnlyAfterTheLastDot) {
  LocationFolders folders = FoldersWith({});
  IconLocation plain = ReadIconLocation("D:\\Icons\\a.dll, 12 ", folders);
  EXPECT_EQ(plain.file, "D:\\Icons\\a.dll");
  EXPECT_EQ(plain.index, 12);
  // A comma in a folder name comes before the extension's dot: no index.
  IconLocation commaFolder = ReadIconLocation("D:\\a,b\\c.ico", folders);
  EXPECT_EQ(commaFolder.file, "D:\\a,b\\c.ico");
  EXPECT_EQ(commaFolder.index, 0);
  EXPECT_EQ(ReadIconLocation("D:\\a.dll,x", folders).index, -1);
  EXPECT_EQ(ReadIconLocation("\"D:\\My Icons\\a.dll\",-3", folders).file, "D:\\My Icons\\a.dll");
  EXPECT_EQ(ReadIconLocation("D:\\a.dll,-3", folders).index, -3);
}

TEST(IconLocationTest, ReplacesFolderNamesAndLooksUpBareNames) {
  LocationFolders folders =
      FoldersWith({"C:\\WINDOWS\\explorer.exe", "C:\\WINDOWS\\System32\\shell32.dll"});
  EXPECT_EQ(ReadIconLocation("%systemroot%\\System32\\mydocs.dll,0", folders).file,
            "C:\\WINDOWS\\System32\\mydocs.dll");
  EXPECT_EQ(ReadIconLocation("%WinDir%\\a.ico", folders).file, "C:\\WINDOWS\\a.ico");
  EXPECT_EQ(ReadIconLocation("%SystemDrive%boot.ico", folders).file, "C:\\boot.ico");
  // The system folder is searched before the Windows folder; a name found in neither stays.
  EXPECT_EQ(ReadIconLocation("shell32.dll,3", folders).file, "C:\\WINDOWS\\System32\\shell32.dll");
  EXPECT_EQ(ReadIconLocation("explorer.exe", folders).file, "C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(ReadIconLocation("nowhere.dll", folders).file, "nowhere.dll");
}

TEST(IconLocationTest, NegativeIndexNamesTheResource) {
  test::TempDir dir;
  std::string library = dir.File("shell32.dll");
  // Position 2 holds the icon named "137"; position 137 does not exist.
  test::WriteIconLibrary(library, {{"2", 16}, {"5", 24}, {"137", 48}});
  EXPECT_EQ(test::FirstImageWidth(LoadLocationIcon({library, -137}).get()), 48);
  EXPECT_EQ(test::FirstImageWidth(LoadLocationIcon({library, -2}).get()), 16);
  EXPECT_EQ(test::FirstImageWidth(LoadLocationIcon({library, 1}).get()), 24);
  EXPECT_EQ(LoadLocationIcon({library, 137}), nullptr);
  EXPECT_EQ(LoadLocationIcon({library, -6}), nullptr);

  LocationFolders folders{dir.Path(), dir.Path(), nullptr};
  IconLocation shellLocation = ReadIconLocation(library + ",-137", folders);
  EXPECT_EQ(test::FirstImageWidth(LoadLocationIcon(shellLocation).get()), 48);
  // The list falls back to icon 0 of the file, then to icon 0 of shell32.dll.
  EXPECT_EQ(test::FirstImageWidth(LocationDisplayIcon({library, 99}, folders).get()), 16);
  EXPECT_EQ(test::FirstImageWidth(LocationDisplayIcon({dir.File("gone.dll"), 1}, folders).get()),
            16);
}

TEST(SystemIconTableTest, RowsAndNames) {
  auto table = SystemIconTable();
  ASSERT_EQ(table.size(), 50u);
  EXPECT_EQ(ColorizedIconFileName(table[2]), "RecycleFull.ico");
  EXPECT_EQ(ColorizedIconFileName(table[25]), "RemoveableDrive.ico");
  EXPECT_EQ(ColorizedIconFileName(table[23]), "FloppyDrive525.ico");
  EXPECT_EQ(StockIndex(table[48]), 44);
  EXPECT_EQ(StockIndex(table[0]), -1);
  EXPECT_FALSE(RowUsedOn(table[36], true));
  EXPECT_TRUE(RowUsedOn(table[37], true));
  // No two rows stand for the same freedesktop icon.
  std::set<std::string_view> names;
  for (const SystemIconRow& row : table)
    if (!row.linuxName.empty()) {
      EXPECT_TRUE(names.insert(row.linuxName).second) << row.linuxName;
    }
}

}  // namespace
}  // namespace varnel

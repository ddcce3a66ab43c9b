// Names of copied folder icons, icon location texts, and copying an icon out of a library.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "icons/advancedicon.h"
#include "resources/iconfixtures.h"
#include "resources/iconlibrary.h"
#include "shell/foldericon.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TEST(CopiedIconFileName, JoinsLowerCasedComponentsAfterTheDriveLetterAsTyped) {
  EXPECT_EQ(CopiedIconFileName("D:\\Work\\Icons"), "Dwork_icons.ico");
  EXPECT_EQ(CopiedIconFileName("d:\\Work\\Icons\\"), "dwork_icons.ico");
  EXPECT_EQ(CopiedIconFileName("/home/ann/My Pics"), "home_ann_my pics.ico");
  EXPECT_EQ(CopiedDriveIconFileName("E:\\"), "AutoRunE.ico");
}

TEST(CopiedIconFileName, PrefersShortNamesAndAsksWithThePathSoFar) {
  std::vector<std::string> asked;
  const auto shortName = [&](const std::string& path) {
    asked.push_back(path);
    return path == "C:\\Program Files" ? std::string("PROGRA~1") : std::string();
  };
  EXPECT_EQ(CopiedIconFileName("C:\\Program Files\\Tool", shortName), "Cprogra~1_tool.ico");
  EXPECT_EQ(asked, (std::vector<std::string>{"C:\\Program Files", "C:\\Program Files\\Tool"}));
}

TEST(CopiedIconFileName, DeepFoldersDropLeadingComponentsToFit) {
  std::string folder = "D:";
  for (int i = 0; i < 17; ++i) folder += "\\Component" + std::to_string(i);
  const std::string name = CopiedIconFileName(folder);
  EXPECT_EQ(name, "Dcomponent13_component14_component15_component16.ico");
  EXPECT_LT(folder.size() + name.size() + 4, 260u);

  const std::string oneLongFolder = "D:\\" + std::string(200, 'x');
  const std::string cut = CopiedIconFileName(oneLongFolder);
  EXPECT_LT(oneLongFolder.size() + cut.size() + 4, 260u);
  EXPECT_GT(cut.size(), 40u);

  EXPECT_THROW(CopiedIconFileName("D:\\" + std::string(252, 'x')), Exception);
}

TEST(IconLocationText, SplitsIndexQuotesAndResourceNames) {
  EXPECT_EQ(SplitIconLocation("shell32.dll,-137"), (IconLocation{"shell32.dll", -137}));
  EXPECT_EQ(SplitIconLocation("\"C:\\My Files\\a.dll\" , 3"),
            (IconLocation{"C:\\My Files\\a.dll", 3}));
  EXPECT_EQ(SplitIconLocation("C:\\a,b\\icon.ico"), (IconLocation{"C:\\a,b\\icon.ico", 0}));
  EXPECT_EQ(SplitIconLocation("icons.dll,first"), (IconLocation{"icons.dll", -1}));
  EXPECT_EQ(IconLocationText({"x.ico", 0}), "x.ico,0");
}

TEST(StockIcons, FolderAndDriveKinds) {
  EXPECT_EQ(StockIconOfFolder(), 3);
  EXPECT_EQ(StockIconOfDrive(TDriveKind::dkRemovable), 7);
  EXPECT_EQ(StockIconOfDrive(TDriveKind::dkFixed), 8);
  EXPECT_EQ(StockIconOfDrive(TDriveKind::dkCDRom), 11);
  EXPECT_EQ(StockIconOfDrive(TDriveKind::dkUnknown), 10);
}

int WidthOfSavedIcon(const std::string& fileName) {
  TAdvancedIcon icon;
  icon.LoadFromFile(fileName);
  return icon.Images().Count() == 1 ? icon.Images().Items(0)->ImageWidth() : -1;
}

TEST(CopyIconToFile, NegativeIndexNamesTheResourceAndIconFilesCopyWhole) {
  test::TempDir dir;
  TIconLibrary library;
  library.Icons.AddIcon("137", test::DibIcon({16}));
  library.Icons.AddIcon("5", test::DibIcon({32}));
  ASSERT_TRUE(library.SaveAs32Bit(dir.File("lib.icl")));

  CopyIconToFile({dir.File("lib.icl"), -5}, dir.File("named.ico"));
  EXPECT_EQ(WidthOfSavedIcon(dir.File("named.ico")), 32);
  CopyIconToFile({dir.File("lib.icl"), 0}, dir.File("first.ico"));
  EXPECT_EQ(WidthOfSavedIcon(dir.File("first.ico")), 16);
  EXPECT_THROW(CopyIconToFile({dir.File("lib.icl"), -6}, dir.File("none.ico")), Exception);
  EXPECT_THROW(CopyIconToFile({dir.File("lib.icl"), 2}, dir.File("none.ico")), Exception);
  EXPECT_THROW(CopyIconToFile({dir.File("missing.dll"), 0}, dir.File("none.ico")), Exception);

  CopyIconToFile({dir.File("named.ico"), 4}, dir.File("copy.ico"));
  EXPECT_EQ(test::FileText(dir.File("copy.ico")), test::FileText(dir.File("named.ico")));
}

}  // namespace
}  // namespace varnel

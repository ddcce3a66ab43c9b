#include "appcore/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "appcore/applicationsettings.h"
#include "appcore/exportsinglesettings.h"
#include "appcore/newimageresizesettings.h"
#include "base/fileio.h"
#include "platform/inifile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::FileText;
using test::WriteText;

TEST(SettingsTest, AFreshFileGetsEveryKeyAtItsDefault) {
  test::TempDir dir;
  std::string path = dir.File("config.ini");
  TApplicationSettings settings(path, 32);
  settings.LoadSettings(nullptr);
  settings.SaveSettings(nullptr);
  EXPECT_EQ(FileText(path),
            "[Display]\n"
            "StandardToolBar=1\n"
            "StatusBar=1\n"
            "ShowMMI=0\n"
            "MenuLanguage=\n"
            "grIconSize=48\n"
            "grIconSizeW=64\n"
            "grIconSizeH=64\n"
            "grIconBPP=32\n"
            "grCaption=1\n"
            "grFormats=0\n"
            "grExactView=0\n"
            "grPropView=1\n"
            "grEnlarge=0\n"
            "\n"
            "[Color]\n"
            "Back1bpp=clWhite\n"
            "Back4bpp=clSilver\n"
            "Back8bpp=clSilver\n"
            "IcoNo=$00EDFEAB\n"
            "\n"
            "[Cfg]\n"
            "ConfirmDIFL=1\n"
            "ConfirmUPF=1\n"
            "WarnNotTrueColorMode=1\n"
            "ICLExportLimit=1600\n"
            "OpenFolderDialogStyle=1\n"
            "IconMask=" +
                std::string(kDefaultIconMask) +
                "\n"
                "ExcludeDups=1\n"
                "IncludeSubDirs=1\n"
                "SearchArchives=0\n"
                "MaxArchiveSize=12\n"
                "SearchWebForGif=0\n"
                "SearchWebForFavicon=1\n"
                "Welcome=1\n"
                "SaveWinSize=1\n"
                "WinHeight=0\n"
                "WinWidth=0\n"
                "WinLeft=-100000\n"
                "WinTop=-100000\n"
                "\n"
                "[Stat]\n"
                "idxNextDownload=0\n"
                "LastOpenUrl=\n");
}

TEST(SettingsTest, ShowMMIDefaultsOnForScreensOfOtherThan32Bits) {
  TIniFile empty = TIniFile::FromText("x.ini", "");
  EXPECT_TRUE(ReadSettings(empty, DefaultShowMMI(16)).ShowMMI);
  EXPECT_FALSE(ReadSettings(empty, DefaultShowMMI(32)).ShowMMI);
  TIniFile stored = TIniFile::FromText("x.ini", "[Display]\nShowMMI=0\n");
  EXPECT_FALSE(ReadSettings(stored, DefaultShowMMI(16)).ShowMMI);
}

TEST(SettingsTest, OutOfRangeValuesAreCorrectedOnReading) {
  TIniFile ini = TIniFile::FromText("x.ini",
                                    "[Display]\ngrIconSize=20\ngrIconBPP=-4\n"
                                    "grIconSizeW=0\ngrIconSizeH=100000\n"
                                    "[Cfg]\nMaxArchiveSize=0\nIconMask=   \nWelcome=7\n"
                                    "ICLExportLimit=abc\n");
  TSettings s = ReadSettings(ini, false);
  EXPECT_EQ(s.grIconSize, 48);
  EXPECT_EQ(s.grIconBPP, 32);
  EXPECT_EQ(s.grIconSizeW, 64);
  EXPECT_EQ(s.grIconSizeH, 64);
  EXPECT_EQ(s.MaxArchiveSize, 12);
  EXPECT_EQ(s.IconMask, kDefaultIconMask);
  EXPECT_TRUE(s.Welcome);
  EXPECT_EQ(s.ICLExportLimit, 1600);

  TIniFile valid = TIniFile::FromText(
      "x.ini", "[Display]\ngrIconSize=-2\ngrIconBPP=4\n[Cfg]\nMaxArchiveSize=5000\n");
  s = ReadSettings(valid, false);
  EXPECT_EQ(s.grIconSize, -2);
  EXPECT_EQ(s.grIconBPP, 4);
  EXPECT_EQ(s.MaxArchiveSize, 12);
  EXPECT_EQ(ReadSettings(TIniFile::FromText("x.ini", "[Cfg]\nMaxArchiveSize=1000\n"), false)
                .MaxArchiveSize,
            1000);
}

TEST(SettingsTest, ColoursReadByNameOrNumberAndFallBackOnOtherText) {
  TIniFile ini = TIniFile::FromText("x.ini",
                                    "[Color]\nBack1bpp=clbtnface\nBack4bpp=$000000FF\n"
                                    "Back8bpp=\nIcoNo=not a colour\n");
  TSettings s = ReadSettings(ini, false);
  EXPECT_EQ(s.Back1bpp, clBtnFace);
  EXPECT_EQ(s.Back4bpp, clRed);
  EXPECT_EQ(s.Back8bpp, clSilver);
  EXPECT_EQ(s.IcoNo, kDefaultIcoNo);
  EXPECT_EQ(ColorToString(clAppWorkSpace), "clAppWorkSpace");
  EXPECT_EQ(ColorToString(SystemColor(25)), "$80000019");
  EXPECT_EQ(ColorToString(RGB(0x12, 0x34, 0x56)), "$00563412");
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
  EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);
}

TEST(SettingsTest, RewritingKeepsUnknownSectionsKeysAndDamagedLines) {
  test::TempDir dir;
  std::string path = dir.File("config.ini");
  WriteText(path,
            "[Cfg]\nWelcome=0\nFutureKey=x\n%%% damaged line\n[Plugins]\nA=1\n"
            "[Last]\nSearchIconsDir=/home/u/icons\n");
  TApplicationSettings settings(path, 32);
  settings.LoadSettings(nullptr);
  EXPECT_FALSE(settings.Values().Welcome);
  settings.Values().Welcome = true;
  settings.SaveSettings(nullptr);
  TIniFile reread(path);
  EXPECT_EQ(reread.ReadString("Cfg", "FutureKey", ""), "x");
  EXPECT_EQ(reread.ReadString("Plugins", "A", ""), "1");
  EXPECT_EQ(reread.ReadString("Last", "SearchIconsDir", ""), "/home/u/icons");
  EXPECT_TRUE(reread.ReadBool("Cfg", "Welcome", false));
  EXPECT_NE(FileText(path).find("%%% damaged line\n"), std::string::npos);
}

TEST(SettingsTest, AnUnwritableFileRaisesUnableToWriteAndKeepsValuesInMemory) {
  test::TempDir dir;
  std::string blocker = dir.File("plain file");
  WriteText(blocker, "");
  TApplicationSettings settings(blocker + "/config.ini", 32);
  settings.LoadSettings(nullptr);
  settings.Values().grIconSize = 16;
  try {
    settings.SaveSettings(nullptr);
    FAIL() << "no error raised";
  } catch (const EIniFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + blocker + "/config.ini");
  }
  EXPECT_EQ(settings.Values().grIconSize, 16);
  settings.SaveCrawlPosition(5);  // failures of the crawl position are ignored
  EXPECT_EQ(settings.Values().idxNextDownload, 5);
}

TEST(SettingsTest, CrawlPositionIsWrittenAtOnce) {
  test::TempDir dir;
  std::string path = dir.File("config.ini");
  TApplicationSettings settings(path, 32);
  settings.SaveCrawlPosition(17);
  EXPECT_EQ(TIniFile(path).ReadInteger("Stat", "idxNextDownload", 0), 17);
}

TEST(SettingsTest, DialogSectionsReadOutOfRangeValuesAsDefaults) {
  TIniFile ini = TIniFile::FromText("x.ini",
                                    "[ExportSingle]\nCW=0\nCC=301\nML=100\nbkColor=clBlack\n"
                                    "[NewImageResize]\nSize=7\nWidth=3000\nResampleFilter=10\n");
  TExportSingleSettings exportSettings = TExportSingleSettings::Read(ini);
  EXPECT_EQ(exportSettings.CW, 32);
  EXPECT_EQ(exportSettings.CC, 20);
  EXPECT_EQ(exportSettings.ML, 100);
  EXPECT_EQ(exportSettings.bkColor, clBlack);
  TNewImageResizeSettings resize = TNewImageResizeSettings::Read(ini);
  EXPECT_EQ(resize.Size, 2);
  EXPECT_EQ(resize.Width, 3000);
  EXPECT_EQ(resize.ResampleFilter, 9);

  TIniFile written = TIniFile::FromText("x.ini", "");
  exportSettings.Dir = "/home/u/sheets/";
  exportSettings.Write(written);
  resize.Write(written);
  EXPECT_EQ(TExportSingleSettings::Read(written).Dir, "/home/u/sheets/");
  EXPECT_EQ(written.ReadString("ExportSingle", "bkColor", ""), "clBlack");
  EXPECT_EQ(written.ReadSectionKeys("NewImageResize").size(), 6u);
}

TEST(SettingsTest, SearchJobsAreKeptOnlyWhenChangedAndOutOfRangeCountsGiveTheDefault) {
  for (const char* text : {"-1", "65", "many"})
    EXPECT_EQ(
        ReadSettings(TIniFile::FromText("x.ini", std::string("[Cfg]\nSearchJobs=") + text), false)
            .SearchJobs,
        0)
        << text;
  TIniFile ini = TIniFile::FromText("x.ini", "[Cfg]\nSearchJobs=3\n");
  TSettings settings = ReadSettings(ini, false);
  EXPECT_EQ(settings.SearchJobs, 3);
  WriteSettings(ini, settings);
  EXPECT_EQ(ini.ReadInteger("Cfg", "SearchJobs", 0), 3);
  settings.SearchJobs = 0;
  WriteSettings(ini, settings);
  EXPECT_FALSE(ini.ValueExists("Cfg", "SearchJobs"));
}

}  // namespace
}  // namespace varnel

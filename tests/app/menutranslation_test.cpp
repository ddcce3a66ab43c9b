// Menu translation files: reading, writing, and applying them to the menus.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <filesystem>
#include <fstream>

#include "app/mainwindow.h"
#include "app/menutranslation.h"
#include "apptestsupport.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

TEST(MenuTranslation, LinesGiveKeyedCaptionsAndHints) {
  auto texts = ParseMenuTranslation(
      "Deutsch\n103 = &Öffnen | Öffnen|Öffnet eine Datei\n 124=&Kopieren\n50=zu klein\nkaputt\n");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[103].caption, "&Öffnen");
  EXPECT_EQ(texts[103].hint, "Öffnen|Öffnet eine Datei");
  EXPECT_EQ(texts[124].caption, "&Kopieren");
  EXPECT_EQ(texts[124].hint, "");
}

TEST(MenuTranslation, WrittenFilesReadBack) {
  std::string contents =
      FormatMenuTranslation("english", {{100, {"&File", ""}}, {103, {"&Open", "Open|Opens"}}});
  EXPECT_EQ(contents, "English\n100=&File\n103=&Open|Open|Opens\n");
  auto texts = ParseMenuTranslation(contents);
  EXPECT_EQ(texts[103].hint, "Open|Opens");
}

TEST(MenuTranslation, ALanguageFileRenamesTheMenusAndWritesTheEnglishOne) {
  TestApplication();
  TempDir dir;
  TfmMain window(dir.File("config.ini"));
  std::filesystem::create_directories(dir.File("Language"));
  std::ofstream(dir.File("Language/deutsch.mnu"))
      << "Deutsch\n100=&Datei\n103=Ö&ffnen|Öffnen|Öffnet eine Datei\n";
  EXPECT_EQ(ApplyMenuTranslation(*window.menuBar(), dir.File("Language"), "deutsch"), "deutsch");
  EXPECT_EQ(window.Action("aFileOpen")->text(), "Ö&ffnen");
  EXPECT_EQ(window.Action("aFileOpen")->statusTip(), "Öffnet eine Datei");
  EXPECT_EQ(window.menuBar()->actions().at(0)->text(), "&Datei");
  std::ifstream english(dir.File("Language/english.mnu"));
  std::string first, second;
  std::getline(english, first);
  std::getline(english, second);
  EXPECT_EQ(first, "English");
  EXPECT_EQ(second, "100=&File");
}

TEST(MenuTranslation, EnglishEmptiesTheSettingAndAMissingFileChangesNothing) {
  TestApplication();
  TempDir dir;
  TfmMain window(dir.File("config.ini"));
  EXPECT_EQ(ApplyMenuTranslation(*window.menuBar(), dir.File("Language"), "klingon"), "klingon");
  EXPECT_EQ(window.Action("aFileOpen")->text(), "&Open");
  std::filesystem::create_directories(dir.File("Language"));
  std::ofstream(dir.File("Language/english.mnu")) << "English\n103=&Open\n";
  EXPECT_EQ(ApplyMenuTranslation(*window.menuBar(), dir.File("Language"), "english"), "");
}

}  // namespace
}  // namespace varnel::test

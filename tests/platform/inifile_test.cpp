#include "platform/inifile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/fileio.h"
#include "platform/textfunctions.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::FileText;
using test::WriteText;

TEST(IniFileTest, ReadsValuesIgnoringCaseAndBlanksAndTakesTheFirstOfDuplicates) {
  TIniFile ini = TIniFile::FromText("x.ini",
                                    "; comment\n"
                                    "[Display]\n"
                                    "  grIconSize = 32  \n"
                                    "GRICONSIZE=16\n"
                                    "Mask=a=b\n"
                                    "[display]\n"
                                    "Other=1\n");
  EXPECT_EQ(ini.ReadInteger("DISPLAY", "griconsize", 48), 32);
  EXPECT_EQ(ini.ReadString("Display", "Mask", ""), "a=b");
  EXPECT_EQ(ini.ReadString("Display", "Other", "none"), "none");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Display"}));
  EXPECT_EQ(ini.ReadSectionKeys("Display"),
            (std::vector<std::string>{"grIconSize", "GRICONSIZE", "Mask"}));
}

TEST(IniFileTest, IntegersAndBooleansFallBackToTheDefaultOnBadText) {
  TIniFile ini =
      TIniFile::FromText("x.ini", "[S]\nA=abc\nB=$FF\nC=-12\nD=99999999999\nE=2\nF=0\nG=\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "B", 7), 255);
  EXPECT_EQ(ini.ReadInteger("S", "C", 7), -12);
  EXPECT_EQ(ini.ReadInteger("S", "D", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "Missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("S", "E", false));
  EXPECT_FALSE(ini.ReadBool("S", "F", true));
  EXPECT_TRUE(ini.ReadBool("S", "G", true));
}

TEST(IniFileTest, RewritingKeepsCommentsUnknownKeysAndUnparsableLines) {
  std::string original =
      "; kept comment\n"
      "orphan=before any section\n"
      "[Cfg]\n"
      "Unknown=keep me\n"
      "this line has no equals sign\n"
      "Welcome=1\n"
      "\n"
      "[Other]\n"
      "X=1\n";
  TIniFile ini = TIniFile::FromText("x.ini", original);
  ini.WriteBool("Cfg", "Welcome", false);
  ini.WriteString("Cfg", "IconMask", "*.ico");
  ini.WriteString("New", "Key", "v");
  EXPECT_EQ(ini.Text(),
            "; kept comment\n"
            "orphan=before any section\n"
            "[Cfg]\n"
            "Unknown=keep me\n"
            "this line has no equals sign\n"
            "Welcome=0\n"
            "IconMask=*.ico\n"
            "\n"
            "[Other]\n"
            "X=1\n"
            "\n"
            "[New]\n"
            "Key=v\n");
}

TEST(IniFileTest, AnUnchangedFileIsRewrittenByteForByte) {
  for (std::string text : {std::string("\xEF\xBB\xBF[A]\r\n\tkey = v a l \r\n;c\r\n\r\n"),
                           std::string("[]\n=\n[x\n  [B]  trailing\nk==\n\x01\x02\n")}) {
    TIniFile ini = TIniFile::FromText("x.ini", text);
    EXPECT_EQ(ini.Text(), text);
  }
}

TEST(IniFileTest, WritingTheStoredValueAgainChangesNothing) {
  TIniFile ini = TIniFile::FromText("x.ini", "[B]\nk==\n");
  ini.WriteString("B", "k", "=");
  EXPECT_FALSE(ini.Modified());
  ini.WriteString("B", "k", "x");
  EXPECT_TRUE(ini.Modified());
}

TEST(IniFileTest, ValuesCannotInjectLines) {
  TIniFile ini = TIniFile::FromText("x.ini", "");
  ini.WriteString("Last", "Open", "/tmp/a\n[Cfg]\nWelcome=0");
  EXPECT_FALSE(ini.SectionExists("Cfg"));
  EXPECT_EQ(ini.ReadString("Last", "Open", ""), "/tmp/a [Cfg] Welcome=0");
}

TEST(IniFileTest, KeepsCrLfLineBreaksAndDecodesWindows1252Text) {
  TIniFile ini = TIniFile::FromText("x.ini", "[Last]\r\nOpen=caf\xE9\r\n");
  EXPECT_EQ(ini.ReadString("Last", "Open", ""), "caf\xC3\xA9");
  ini.WriteInteger("Last", "N", 3);
  EXPECT_EQ(ini.Text(), "[Last]\r\nOpen=caf\xC3\xA9\r\nN=3\r\n");
}

TEST(IniFileTest, DeleteKeyAndEraseSection) {
  TIniFile ini = TIniFile::FromText("x.ini", "[A]\nk=1\nj=2\n[B]\nk=3\n");
  ini.DeleteKey("A", "K");
  ini.EraseSection("b");
  EXPECT_EQ(ini.Text(), "[A]\nj=2\n");
}

TEST(IniFileTest, UpdateFileWritesAndRereads) {
  test::TempDir dir;
  std::string path = dir.File("config.ini");
  WriteText(path, "[Keep]\nA=1\n");
  TIniFile ini(path);
  ini.WriteString("Keep", "B", "two");
  EXPECT_TRUE(ini.Modified());
  ini.UpdateFile();
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(FileText(path), "[Keep]\nA=1\nB=two\n");
  EXPECT_EQ(TIniFile(path).ReadString("Keep", "B", ""), "two");
  EXPECT_EQ(TIniFile(dir.File("missing.ini")).Text(), "");
}

TEST(IniFileTest, AFailedWriteRaisesUnableToWriteAndKeepsTheOldFile) {
  test::TempDir dir;
  std::string path = dir.File("sub/config.ini");
  TIniFile ini(path);
  ini.WriteInteger("Cfg", "A", 1);
  try {
    ini.UpdateFile();
    FAIL() << "no error raised";
  } catch (const EIniFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
  }
}

TEST(TextFunctionsTest, ParsesIntegersAsSettingsAreWritten) {
  EXPECT_EQ(TryParseInteger(" 42 "), 42);
  EXPECT_EQ(TryParseInteger("$80000005"), int32_t(0x80000005));
  EXPECT_EQ(TryParseInteger("0x1F"), 31);
  EXPECT_EQ(TryParseInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(TryParseInteger("2147483648"), std::nullopt);
  EXPECT_EQ(TryParseInteger("$123456789"), std::nullopt);
  EXPECT_EQ(TryParseInteger("12a"), std::nullopt);
  EXPECT_EQ(TryParseInteger(""), std::nullopt);
  EXPECT_EQ(TryParseInteger("-"), std::nullopt);
}

}  // namespace
}  // namespace varnel

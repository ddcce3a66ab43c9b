// varnel-cli as a user runs it: output, messages and exit statuses.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

TEST(CliTest, HelpVersionAndUsageErrors) {
  Result help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("list [--json] FILE..."), std::string::npos);
  EXPECT_EQ(RunCli("--version").status, 0);
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
  EXPECT_EQ(RunCli("list").status, 2);
  EXPECT_EQ(RunCli("list --bogus x.ico").status, 2);
}

TEST(CliTest, ListPrintsOneJsonLinePerIcon) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  Result result = RunCli("list --json " + python);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "{\"file\": \"" + python +
                "\", \"index\": 0, \"name\": \"python\", \"images\": ["
                "{\"width\": 16, \"height\": 16, \"bpp\": 32, \"colors\": 0, \"packed\": false, "
                "\"bytes\": 1128, \"hotspot\": [0, 0]}, "
                "{\"width\": 32, \"height\": 32, \"bpp\": 32, \"colors\": 0, \"packed\": false, "
                "\"bytes\": 4264, \"hotspot\": [0, 0]}, "
                "{\"width\": 48, \"height\": 48, \"bpp\": 32, \"colors\": 0, \"packed\": false, "
                "\"bytes\": 9640, \"hotspot\": [0, 0]}]}\n");
}

TEST(CliTest, ListReportsFailingFilesAndGoesOn) {
  VARNEL_SKIP_WITHOUT_CORPUS("cur/cursor44.cur", "ani/test.ani");
  std::string cursor = varnel::test::CorpusPath("cur/cursor44.cur");
  Result result = RunCli("list /nonexistent.ico " + cursor);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("varnel-cli: /nonexistent.ico: "), std::string::npos);
  EXPECT_NE(result.out.find("cursor44: 32x32x2"), std::string::npos);

  Result animated = RunCli("list --json " + varnel::test::CorpusPath("ani/test.ani"));
  EXPECT_EQ(animated.status, 0);
  EXPECT_NE(animated.out.find("\"name\": \"test2\""), std::string::npos);
}

// Every file that gives no icon is a failure with a message of its own; the others are listed.
TEST(CliTest, ListSaysWhyAFileGivesNoIcons) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  std::vector<uint8_t> icon = varnel::test::ReadCorpusFile("ico/python.ico");
  std::ofstream(dir.File("truncated.ico"), std::ios::binary)
      .write(reinterpret_cast<const char*>(icon.data()), 100);
  std::ofstream(dir.File("notes.txt")) << "no icons here at all";
  std::ofstream(dir.File("empty.ico"));
  for (const char* name : {"notes.txt", "empty.ico", "truncated.ico"}) {
    Result result = RunCli("list " + dir.File(name) + " " + python);
    SCOPED_TRACE(name);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("varnel-cli: " + dir.File(name) + ": "), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(python + " [0] python:"), std::string::npos);
  }
  // list and import give the reason: the kind, or what the damaged file lacks.
  std::vector<std::pair<std::string, std::string>> reasons = {
      {"notes.txt", ": no icons found: not recognised"},
      {"empty.ico", ": no icons found: empty file"},
      {"truncated.ico", ": no icons found: damaged icon file: image 1 of 3 takes bytes 54 to "}};
  // A module cut after 4 KB (its headers) names no icon group.
  const std::string notepad = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe";
  if (std::filesystem::exists(notepad)) {
    std::filesystem::copy_file(notepad, dir.File("whole.exe"));
    std::filesystem::resize_file(dir.File("whole.exe"), 4096);
    reasons.push_back({"whole.exe", ": no icons found: damaged module (32-bit PE): cut off: "});
  }
  for (const auto& [name, reason] : reasons) {
    EXPECT_NE(RunCli("list " + dir.File(name)).out.find(dir.File(name) + reason), std::string::npos)
        << name;
    Result import = RunCli("import --quiet " + dir.File(name) + " -o " + dir.File("out.icc"));
    EXPECT_NE(import.out.find(dir.File(name) + reason), std::string::npos) << import.out;
  }

  Result folder = RunCli("list " + dir.Path());
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.out.find(dir.Path() + ": is a folder"), std::string::npos) << folder.out;
  EXPECT_NE(folder.out.find("scan"), std::string::npos);
  EXPECT_EQ(folder.out.find("no such file"), std::string::npos);
}

// Depths the grid has no word for are given in bits per pixel, as the JSON form gives them.
TEST(CliTest, ListNamesTheDepthOfSixteenBitChannelImages) {
  VARNEL_SKIP_WITHOUT_CORPUS("png/basn6a16.png");
  varnel::test::TempDir dir;
  std::filesystem::create_directories(dir.File("pictures"));
  std::filesystem::copy_file(varnel::test::CorpusPath("png/basn6a16.png"),
                             dir.File("pictures/basn6a16.png"));
  // A search keeps the PNG as it is stored.
  ASSERT_EQ(
      RunCli("scan --quiet " + dir.File("pictures") + " --mask '*.png' -o " + dir.File("found.icc"))
          .status,
      0);
  std::string listed = RunCli("list " + dir.File("found.icc")).out;
  EXPECT_NE(listed.find("[0] basn6a16: 32x32x64bpp (packed)"), std::string::npos) << listed;
  EXPECT_NE(RunCli("list --json " + dir.File("found.icc")).out.find("\"bpp\": 64"),
            std::string::npos);
}

}  // namespace

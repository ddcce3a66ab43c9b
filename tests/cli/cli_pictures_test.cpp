// Pictures through the command line: a multi-size favicon from one SVG, read back by icotool,
// and the new picture kinds in info and list.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCli;
using varnel::test::RunCommand;
using varnel::test::TempDir;
using varnel::test::WriteText;

const char* kLogo =
    "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
    "<circle cx='50' cy='50' r='40' fill='#336699'/></svg>";

TEST(CliPicturesTest, OneSvgGivesAFaviconWithFourSizesAt32Bits) {
  if (RunCommand("icotool --version > /dev/null 2>&1").status != 0)
    GTEST_SKIP() << "icotool is not installed";
  TempDir dir;
  WriteText(dir.File("logo.svg"), kLogo);
  std::string favicon = dir.File("favicon.ico");
  auto result =
      RunCli("import --quiet " + dir.File("logo.svg") + " --sizes 16,32,48,256 -o " + favicon);
  ASSERT_EQ(result.status, 0) << result.out;
  std::string listing = RunCommand("icotool --list " + favicon).out;
  for (int size : {16, 32, 48, 256}) {
    std::string entry =
        "--width=" + std::to_string(size) + " --height=" + std::to_string(size) + " --bit-depth=32";
    EXPECT_NE(listing.find(entry), std::string::npos) << listing;
  }
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 4) << listing;
}

TEST(CliPicturesTest, OptionsAreCheckedAndDrawingsAreListed) {
  TempDir dir;
  WriteText(dir.File("logo.svg"), kLogo);
  std::string out = " -o " + dir.File("x.icc");
  EXPECT_EQ(RunCli("import " + dir.File("logo.svg") + " --sizes 0,16" + out).status, 2);
  EXPECT_EQ(RunCli("import " + dir.File("logo.svg") + " --sizes 16 --filter blur" + out).status, 2);
  auto narrow = RunCli("import --quiet " + dir.File("logo.svg") +
                       " --sizes 24 --filter triangle --no-proportions" + out);
  EXPECT_EQ(narrow.status, 0) << narrow.out;
  EXPECT_NE(RunCli("info " + dir.File("logo.svg")).out.find("SVG drawing"), std::string::npos);
  auto list = RunCli("list " + dir.File("logo.svg"));
  EXPECT_NE(list.out.find("[0] logo: 100x100"), std::string::npos) << list.out;
}

}  // namespace

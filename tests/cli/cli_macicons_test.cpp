// varnel-cli over Mac icon files and icon projects: listed, and written by import.

#include <gtest/gtest.h>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCli;

TEST(CliMacIconsTest, ImportWritesIcnsAndIconProjectsThatListBack) {
  const char* family = "icns/test4.icns";
  VARNEL_SKIP_WITHOUT_CORPUS(family);
  std::string source = varnel::test::CorpusPath(family);
  varnel::test::TempDir dir;
  varnel::test::ProcessResult listed = RunCli("list " + source);
  ASSERT_EQ(listed.status, 0) << listed.out;
  EXPECT_NE(listed.out.find("128x128x32bpp, 48x48x32bpp, 32x32x32bpp, 16x16x32bpp, 48x48x2"),
            std::string::npos)
      << listed.out;

  std::string project = dir.File("out.icpr");
  ASSERT_EQ(RunCli("import --quiet " + source + " -o " + project).status, 0);
  EXPECT_NE(RunCli("info " + project).out.find("icon project"), std::string::npos);
  varnel::test::ProcessResult projectList = RunCli("list " + project);
  EXPECT_EQ(projectList.out.substr(projectList.out.find(": ")),
            listed.out.substr(listed.out.find(": ")));

  std::string icns = dir.File("out.ICNS");
  ASSERT_EQ(RunCli("import --quiet " + source + " -o " + icns).status, 0);
  varnel::test::ProcessResult written = RunCli("list " + icns);
  // 32 twice: once as itself, once as the double-density 16.
  EXPECT_NE(written.out.find("128x128x32bpp (packed), 64x64x32bpp (packed), 32x32x32bpp "
                             "(packed), 32x32x32bpp (packed), 16x16x32bpp (packed)"),
            std::string::npos)
      << written.out;
  EXPECT_NE(RunCli("import --quiet " + source + " -o " + dir.File("out.png")).status, 0);
}

}  // namespace

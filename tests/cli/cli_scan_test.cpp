// varnel-cli scan and dedup over a small tree of real icon files.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

namespace fs = std::filesystem;

size_t Lines(const std::string& text) {
  return varnel::test::CountLines(text);
}

TEST(CliScanTest, DuplicatesAreExcludedUnlessKeptAndDedupRemovesThem) {
  varnel::test::TempDir dir;
  fs::create_directories(dir.Path() + "/tree/deeper");
  for (const char* name : {"python.ico", "gtk.ico"}) {
    fs::copy_file(varnel::test::CorpusPath(std::string("ico/") + name),
                  dir.Path() + "/tree/" + name);
    fs::copy_file(varnel::test::CorpusPath(std::string("ico/") + name),
                  dir.Path() + "/tree/deeper/" + name);
  }
  Result once = RunCli("scan --quiet " + dir.Path() + "/tree -o " + dir.File("once.icc"));
  EXPECT_EQ(once.status, 0) << once.out;
  EXPECT_EQ(Lines(RunCli("list " + dir.File("once.icc")).out), 2u);

  RunCli("scan --quiet --keep-duplicates " + dir.Path() + "/tree -o " + dir.File("all.icc"));
  EXPECT_EQ(Lines(RunCli("list " + dir.File("all.icc")).out), 4u);
  RunCli("scan --quiet --no-subdirs " + dir.Path() + "/tree -o " + dir.File("top.icc"));
  EXPECT_EQ(Lines(RunCli("list " + dir.File("top.icc")).out), 2u);

  Result dedup = RunCli("dedup " + dir.File("all.icc") + " -o " + dir.File("dedup.icc"));
  EXPECT_NE(dedup.out.find("2 duplicate items found and deleted"), std::string::npos);
  EXPECT_EQ(Lines(RunCli("list " + dir.File("dedup.icc")).out), 2u);

  EXPECT_EQ(RunCli("scan " + dir.File("missing") + " -o " + dir.File("x.icc")).status, 1);
  EXPECT_EQ(RunCli("scan " + dir.Path()).status, 2);
}

}  // namespace

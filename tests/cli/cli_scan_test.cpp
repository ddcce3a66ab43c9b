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
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/gtk.ico");
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

TEST(CliScanTest, CountsAreSingularForOneIcon) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico");
  varnel::test::TempDir dir;
  fs::create_directories(dir.Path() + "/tree");
  fs::copy_file(varnel::test::CorpusPath("ico/gtk.ico"), dir.Path() + "/tree/gtk.ico");
  Result one = RunCli("scan " + dir.Path() + "/tree -o " + dir.File("one.icc") + " 2>&1");
  EXPECT_EQ(one.status, 0);
  EXPECT_NE(one.out.find("varnel-cli: 1 icon found\n"), std::string::npos) << one.out;
  fs::copy_file(varnel::test::CorpusPath("ico/gtk.ico"), dir.Path() + "/tree/other.ico");
  Result two = RunCli("scan --keep-duplicates " + dir.Path() + "/tree -o " + dir.File("two.icc"));
  EXPECT_NE(two.out.find("varnel-cli: 2 icons found\n"), std::string::npos) << two.out;
  Result library = RunCli("library " + dir.Path() + "/tree/gtk.ico -o " + dir.File("one.icl"));
  EXPECT_EQ(library.out, dir.File("one.icl") + ": 1 icon\n");
}

}  // namespace

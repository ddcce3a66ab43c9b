// varnel-cli info and import, and list over what import wrote.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

size_t Lines(const std::string& text) {
  return size_t(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliInfoTest, KindsOfShortMissingAndRealFiles) {
  varnel::test::TempDir dir;
  std::ofstream(dir.File("empty"));
  std::ofstream(dir.File("three")) << "abc";
  Result result =
      RunCli("info " + dir.File("empty") + " " + dir.File("three") + " " + dir.File("missing") +
             " " + varnel::test::CorpusPath("rar/test_read_format_rar5_stored.rar") + " " +
             varnel::test::CorpusPath("jpeg/pil_sample_cmyk.jpg"));
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("empty: fkEmpty 0"), std::string::npos);
  EXPECT_NE(result.out.find("three: fkUnrecognised 0"), std::string::npos);
  EXPECT_NE(result.out.find("missing: fkUnrecognised 0"), std::string::npos);
  EXPECT_NE(result.out.find("rar5_stored.rar: fkZip 0"), std::string::npos);
  EXPECT_NE(result.out.find("cmyk.jpg: fkCmykJpeg 4"), std::string::npos);
}

TEST(CliImportTest, CollectionOfFilesReadsBackItemForItem) {
  varnel::test::TempDir dir;
  std::string inputs = varnel::test::CorpusPath("ico/python.ico") + " " +
                       varnel::test::CorpusPath("cur/sample.cur") + " " +
                       varnel::test::CorpusPath("ani/test-animation.ani") + " " +
                       varnel::test::CorpusPath("png/basn6a08.png");
  Result imported = RunCli("import --quiet " + inputs + " -o " + dir.File("c.icc"));
  EXPECT_EQ(imported.status, 0) << imported.out;
  Result listed = RunCli("list " + dir.File("c.icc"));
  EXPECT_EQ(Lines(listed.out), 4u) << listed.out;
  EXPECT_NE(listed.out.find("[0] python: 16x16x32bpp, 32x32x32bpp, 48x48x32bpp"),
            std::string::npos);
  EXPECT_NE(listed.out.find("[3] basn6a08: 32x32x32bpp"), std::string::npos);
}

TEST(CliImportTest, FailingFilesAreReportedAndTheRestIsSaved) {
  varnel::test::TempDir dir;
  std::ofstream(dir.File("notes.txt")) << "no icons here at all";
  Result imported =
      RunCli("import --quiet " + dir.File("notes.txt") + " " +
             varnel::test::CorpusPath("ico/python.ico") + " -o " + dir.File("out.zip"));
  EXPECT_EQ(imported.status, 1);
  EXPECT_NE(imported.out.find("Can't found image in file: " + dir.File("notes.txt")),
            std::string::npos);
  std::ifstream zip(dir.File("out.zip"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(zip)), {});
  EXPECT_NE(bytes.find("python.ico"), std::string::npos);
  EXPECT_EQ(RunCli("import " + dir.File("notes.txt")).status, 2);

  // A folder is searched with its subfolders for the files of the scan mask.
  std::filesystem::create_directories(dir.Path() + "/tree/sub");
  std::filesystem::copy_file(varnel::test::CorpusPath("cur/sample.cur"),
                             dir.Path() + "/tree/sub/s.cur");
  Result folder = RunCli("import --quiet " + dir.Path() + "/tree -o " + dir.File("f.icc"));
  EXPECT_EQ(folder.status, 0) << folder.out;
  EXPECT_NE(RunCli("list " + dir.File("f.icc")).out.find("[0] s: 23x42x16M"), std::string::npos);
}

}  // namespace

// varnel-cli library: icon files and modules saved as 32-bit and 16-bit ICL libraries.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

TEST(CliLibrary, IconFilesAndLibrariesBecomeOneLibraryOfEitherKind) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/black_and_white.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  std::string other = varnel::test::CorpusPath("ico/black_and_white.ico");
  std::string first = dir.File("first.icl"), both = dir.File("both.icl");
  ASSERT_EQ(RunCli("library " + python + " " + other + " -o " + first).status, 0);
  Result result = RunCli("library --16bit " + first + " -o " + both);
  ASSERT_EQ(result.status, 0) << result.out;
  EXPECT_EQ(result.out, both + ": 2 icons\n");
  // list reads both library kinds back with the names, icons and images of the sources.
  std::string expected = RunCli("list " + python).out.substr(python.size()) +
                         RunCli("list " + other).out.substr(other.size());
  expected.replace(expected.find("[0] black_and_white"), 3, "[1]");
  for (const std::string& library : {first, both}) {
    Result listed = RunCli("list " + library);
    EXPECT_EQ(listed.status, 0);
    std::string lines = listed.out;
    for (size_t at; (at = lines.find(library)) != std::string::npos;)
      lines.erase(at, library.size());
    EXPECT_EQ(lines, expected);
  }
  std::ifstream file(both, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 200u);
  EXPECT_EQ(bytes.substr(128, 2), "NE");
  // The names table: "ICL", then the names in input order.
  EXPECT_NE(bytes.find("\x03ICL\x06python\x0f"
                       "black_and_white"),
            std::string::npos);
}

// Inputs sharing a base name give icons of one name, which a library cannot hold twice: they are
// renamed as "Correct Names" does, and the note says so.
TEST(CliLibrary, DuplicateNamesAreCorrectedAndBadArgumentsWriteNothing) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/hopper.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  std::filesystem::create_directories(dir.File("other"));
  std::string second = dir.File("other/python.ico");
  std::filesystem::copy_file(varnel::test::CorpusPath("ico/hopper.ico"), second);
  std::string out = dir.File("dup.icl");
  for (const std::string& command : {"library " + python + " " + second + " -o " + out,
                                     "import --quiet " + python + " " + second + " -o " + out,
                                     "library --16bit " + python + " " + second + " -o " + out}) {
    Result result = RunCli(command);
    EXPECT_EQ(result.status, 0) << command << ": " << result.out;
    EXPECT_NE(result.out.find("1 icon renamed as \"Correct Names\" does (\"python\" as "
                              "\"python1\")"),
              std::string::npos)
        << result.out;
    std::string listed = RunCli("list " + out).out;
    EXPECT_NE(listed.find("[0] python: "), std::string::npos) << listed;
    EXPECT_NE(listed.find("[1] python1: "), std::string::npos) << listed;
    std::filesystem::remove(out);
  }
  EXPECT_EQ(RunCli("library " + python).status, 2);
  EXPECT_EQ(RunCli("library -o " + out).status, 2);
  EXPECT_EQ(RunCli("library " + python + " -o").status, 2);
  EXPECT_EQ(RunCli("library /nonexistent.ico -o " + out).status, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace

// varnel-cli resources: one line per resource record, messages for files that fail.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

const char* kStub = "/usr/share/nsis/Stubs/zlib-x86-unicode";

TEST(CliResources, UsageErrorsAndFailingFiles) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  EXPECT_EQ(RunCli("resources").status, 2);
  EXPECT_EQ(RunCli("resources --bogus x.dll").status, 2);
  std::string icon = varnel::test::CorpusPath("ico/python.ico");
  Result result = RunCli("resources /nonexistent.dll " + icon);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("varnel-cli: /nonexistent.dll: "), std::string::npos);
  EXPECT_NE(result.out.find("varnel-cli: " + icon + ": not a PE module or resource file"),
            std::string::npos);
}

// Libraries varnel-cli writes: the 32-bit one is a PE module, the 16-bit one an NE module.
TEST(CliResources, RecordsOfA32BitLibraryAndWordsFor16BitModules) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  std::string pe = dir.File("pe.icl"), ne = dir.File("ne.icl");
  ASSERT_EQ(RunCli("library " + python + " -o " + pe).status, 0);
  ASSERT_EQ(RunCli("library --16bit " + python + " -o " + ne).status, 0);

  Result records = RunCli("resources " + pe);
  EXPECT_EQ(records.status, 0) << records.out;
  EXPECT_NE(records.out.find(pe + ": type=14 name=\"python\" language=1033 size=48"),
            std::string::npos)
      << records.out;
  // Three images, their group and the library's names table.
  EXPECT_EQ(varnel::test::CountLines(records.out), 5u) << records.out;

  Result sixteen = RunCli("resources " + ne + " " + pe);
  EXPECT_EQ(sixteen.status, 1);
  EXPECT_NE(sixteen.out.find("varnel-cli: " + ne + ": a 16-bit (NE) module; resources lists"),
            std::string::npos)
      << sixteen.out;
  EXPECT_EQ(sixteen.out.find("COFF"), std::string::npos) << sixteen.out;
  EXPECT_NE(sixteen.out.find(pe + ": type=14"), std::string::npos);  // the next file goes on

  Result folder = RunCli("resources " + dir.Path());
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.out.find("is a folder"), std::string::npos) << folder.out;
}

TEST(CliResources, JsonLinesOfAnInstallerStub) {
  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "needs nsis";
  Result result = RunCli(std::string("resources --json ") + kStub);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out.substr(0, result.out.find('\n') + 1),
            std::string("{\"file\": \"") + kStub +
                "\", \"type\": \"2\", \"name\": \"110\", \"name_is_string\": false, "
                "\"language\": 1033, \"size\": 872, \"codepage\": 0}\n");
}

TEST(CliResources, RecordsOfAnInstallerStubAreThoseWrestoolLists) {
  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "needs nsis";
  Result wrestool = RunCommand(std::string("wrestool --list ") + kStub + " 2>/dev/null");
  if (wrestool.status != 0) GTEST_SKIP() << "needs wrestool (icoutils)";
  Result result = RunCli(std::string("resources --json ") + kStub);
  ASSERT_EQ(result.status, 0);
  std::regex ours("\"type\": \"([^\"]*)\", \"name\": \"([^\"]*)\".*\"language\": (\\d+)");
  std::regex theirs("--type=([^ ]+) --name=([^ ]+) --language=(\\d+)");
  auto triples = [](const std::string& text, const std::regex& line) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line);
         it != std::sregex_iterator(); ++it)
      found.push_back((*it)[1].str() + "/" + (*it)[2].str() + "/" + (*it)[3].str());
    return found;
  };
  EXPECT_EQ(triples(result.out, ours), triples(wrestool.out, theirs));
  EXPECT_EQ(triples(result.out, ours).size(), 12u);
}

TEST(CliResources, TextLines) {
  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "needs nsis";
  Result result = RunCli(std::string("resources ") + kStub);
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find(std::string(kStub) + ": type=14 name=103 language=1033 size=20"),
            std::string::npos);
}

}  // namespace

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
  EXPECT_EQ(RunCli("resources").status, 2);
  EXPECT_EQ(RunCli("resources --bogus x.dll").status, 2);
  std::string icon = varnel::test::CorpusPath("ico/python.ico");
  Result result = RunCli("resources /nonexistent.dll " + icon);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("varnel-cli: /nonexistent.dll: "), std::string::npos);
  EXPECT_NE(result.out.find("varnel-cli: " + icon + ": not a PE module or resource file"),
            std::string::npos);
}

TEST(CliResources, JsonLinesOfAnInstallerStub) {
  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "needs nsis";
  Result result = RunCli(std::string("resources --json ") + kStub);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out.substr(0, result.out.find('\n') + 1),
            std::string("{\"file\": \"") + kStub +
                "\", \"type\": \"2\", \"name\": \"110\", \"name_is_string\": false, "
                "\"language\": 1033, \"size\": 872, \"codepage\": 0}\n");

  Result wrestool = RunCommand(std::string("wrestool --list ") + kStub + " 2>/dev/null");
  if (wrestool.status != 0) return;
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

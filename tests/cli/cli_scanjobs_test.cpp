// varnel-cli scan and import of folders with --jobs: the same collection file whatever the
// count, and counts that are no counts refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

namespace fs = std::filesystem;
using varnel::test::RunCli;

TEST(CliScanJobsTest, EveryJobCountWritesTheSameCollection) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/gtk.ico", "cur/sample.cur",
                             "ani/test-animation.ani");
  varnel::test::TempDir dir;
  std::string tree = dir.Path() + "/tree";
  for (int i = 0; i < 12; ++i) {
    std::string folder = tree + "/" + std::string(size_t(i % 3), 'd') + "/";
    fs::create_directories(folder);
    for (const char* sample :
         {"ico/python.ico", "ico/gtk.ico", "cur/sample.cur", "ani/test-animation.ani"})
      fs::copy_file(varnel::test::CorpusPath(sample),
                    folder + std::to_string(i) + fs::path(sample).filename().string());
  }
  const std::pair<const char*, const char*> kCommands[] = {
      {"keep", "scan --keep-duplicates"}, {"scan", "scan"}, {"import", "import"}};
  for (const char* jobs : {"1", "2", "5", "0"}) {
    for (auto [name, command] : kCommands) {
      std::string output = dir.File(name + std::string(jobs) + ".icc");
      auto result =
          RunCli(command + std::string(" --quiet --jobs ") + jobs + " " + tree + " -o " + output);
      ASSERT_EQ(result.status, 0) << command << " --jobs " << jobs << ": " << result.out;
      EXPECT_EQ(varnel::test::FileText(output),
                varnel::test::FileText(dir.File(name + std::string("1.icc"))))
          << command << " with " << jobs << " jobs";
    }
  }
  for (const char* count : {"x", "-1", "65", "2.5"}) {
    auto result =
        RunCli("scan --jobs " + std::string(count) + " " + tree + " -o " + dir.File("x.icc"));
    EXPECT_EQ(result.status, 2) << count;
    EXPECT_NE(result.out.find("--jobs takes a count from 0 to 64"), std::string::npos)
        << result.out;
  }
  EXPECT_EQ(RunCli("import " + tree + " -o " + dir.File("x.icc") + " --jobs").status, 2);
}

}  // namespace

// varnel-cli similar: the nearest lists, groups and merged output over files given together.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCli;

// Two icons at two sizes each, in four files: indices count the icons of all files in order.
TEST(CliSimilarTest, NearestGroupsAndMergeOverSeveralFiles) {
  const std::string adwaita = "/usr/share/icons/Adwaita/";
  std::string files;
  for (const char* picture : {"16x16/actions/edit-copy", "16x16/actions/go-next",
                              "32x32/actions/go-next", "32x32/actions/edit-copy"}) {
    std::string path = adwaita + picture + "-symbolic.symbolic.png";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "Adwaita's symbolic icons are missing";
    files += " " + path;
  }
  auto nearest = RunCli("similar" + files + " --top 1 --json");
  ASSERT_EQ(nearest.status, 0) << nearest.out;
  EXPECT_NE(nearest.out.find("{\"index\": 0, \"name\": \"edit-copy-symbolic.symbolic\", "
                             "\"similar\": [{\"index\": 3, \"distance\": "),
            std::string::npos)
      << nearest.out;
  auto text = RunCli("similar" + files + " --top 1");
  EXPECT_NE(text.out.find("\n1 go-next-symbolic.symbolic: 2 ("), std::string::npos) << text.out;

  auto groups = RunCli("similar" + files + " --groups --json");
  EXPECT_EQ(groups.out,
            "{\"group\": 0, \"indices\": [0, 3]}\n{\"group\": 1, \"indices\": [1, 2]}\n");

  varnel::test::TempDir dir;
  std::string merged = dir.File("merged.icc");
  ASSERT_EQ(RunCli("similar" + files + " --merge -o " + merged).status, 0);
  auto list = RunCli("list " + merged);
  EXPECT_NE(list.out.find("[0] edit-copy-symbolic.symbolic: 32x32x32bpp (packed), 16x16"),
            std::string::npos)
      << list.out;
  EXPECT_EQ(RunCli("similar" + files + " --merge").status, 2);
  EXPECT_EQ(RunCli("similar" + files + " --top 0").status, 2);
}

}  // namespace

// varnel-cli customize run in a temporary home: listing, changing and restoring a system icon.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/corpus.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;
using varnel::test::RunCommand;

// A one-pixel 32-bit icon file.
std::string OnePixelIcon() {
  std::string bytes("\0\0\1\0\1\0", 6);
  bytes += std::string("\1\1\0\0\1\0\x20\0", 8) + std::string("\x30\0\0\0\x16\0\0\0", 8);
  bytes += std::string("\x28\0\0\0\1\0\0\0\2\0\0\0\1\0\x20\0", 16) + std::string(24, '\0');
  bytes += std::string("\x10\x20\xF0\xFF", 4) + std::string(4, '\0');
  return bytes;
}

class CliCustomizeTest : public ::testing::Test {
 protected:
  varnel::test::ProcessResult Run(const std::string& arguments) {
    std::string env = "HOME='" + home.Path() + "' XDG_CONFIG_HOME='" + home.File("config") +
                      "' XDG_DATA_HOME='" + home.File("data") +
                      "' GSETTINGS_BACKEND=keyfile XDG_CURRENT_DESKTOP= ";
    return RunCommand(env + VARNEL_CLI + " customize " + arguments + " 2>&1");
  }
  varnel::test::TempDir home;
};

TEST_F(CliCustomizeTest, ChangesAndRestoresAStockIcon) {
  varnel::test::WriteText(home.File("dot.ico"), OnePixelIcon());
  auto listed = Run("list");
  ASSERT_EQ(listed.status, 0) << listed.out;
  EXPECT_NE(listed.out.find("user-trash-full\tDesktop\tRecycle (Full)\t(default)"),
            std::string::npos)
      << listed.out;

  auto changed = Run("stock 'Recycle (Full)' --icon '" + home.File("dot.ico") + "'");
  ASSERT_EQ(changed.status, 0) << changed.out;
  EXPECT_TRUE(fs::exists(home.File("data/icons/Varnel-Custom/1x1/places/user-trash-full.png")));
  EXPECT_NE(Run("list").out.find(home.File("dot.ico") + ",0"), std::string::npos);

  ASSERT_EQ(Run("stock user-trash-full --default").status, 0);
  EXPECT_FALSE(fs::exists(home.File("data/icons/Varnel-Custom")));
}

TEST_F(CliCustomizeTest, RefusesUnknownNamesAndMissingChoices) {
  EXPECT_EQ(Run("stock no-such-icon --default").status, 1);
  EXPECT_EQ(Run("stock user-trash-full").status, 2);
  EXPECT_EQ(Run("stock user-trash-full --icon x.ico --default").status, 2);
  EXPECT_EQ(Run("stock user-trash-full --icon '" + home.File("missing.ico") + "'").status, 1);
}

}  // namespace

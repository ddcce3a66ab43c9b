#include "platform/folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/corpus.h"

namespace varnel {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old) old_ = old;
    had_ = old != nullptr;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (had_) {
      ::setenv(name_, old_.c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(FoldersTest, SettingsFolderLiesBelowTheUserConfigFolder) {
  test::TempDir dir;
  std::string base = dir.File("config home");
  ScopedEnvironment config("XDG_CONFIG_HOME", base.c_str());
  EXPECT_EQ(ComputeSettingsFolder(), base + "/Tamberly/Varnel");
  EXPECT_TRUE(std::filesystem::is_directory(base + "/Tamberly/Varnel"));
}

TEST(FoldersTest, RelativeConfigHomeFallsBackToHomeDotConfig) {
  test::TempDir dir;
  ScopedEnvironment config("XDG_CONFIG_HOME", "relative");
  ScopedEnvironment home("HOME", dir.Path().c_str());
  EXPECT_EQ(ComputeSettingsFolder(), dir.Path() + "/.config/Tamberly/Varnel");
}

TEST(FoldersTest, WithoutAUsableConfigFolderTheProgramFolderIsUsed) {
  test::TempDir dir;
  std::string blocker = dir.File("file");
  std::FILE* file = std::fopen(blocker.c_str(), "w");
  std::fclose(file);
  {
    ScopedEnvironment config("XDG_CONFIG_HOME", blocker.c_str());  // a file, not a folder
    EXPECT_EQ(ComputeSettingsFolder(), ProgramFolder());
  }
  ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
  ScopedEnvironment home("HOME", nullptr);
  EXPECT_EQ(ComputeSettingsFolder(), ProgramFolder());
}

TEST(FoldersTest, ProgramAndTempFolders) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "/test_platform"));
  test::TempDir dir;
  {
    ScopedEnvironment tmp("TMPDIR", (dir.Path() + "/").c_str());
    EXPECT_EQ(TempFolder(), dir.Path());
  }
  ScopedEnvironment tmp("TMPDIR", "/no/such/folder");
  EXPECT_EQ(TempFolder(), "/tmp");
  EXPECT_EQ(PathJoin("/a/", "b"), "/a/b");
  EXPECT_EQ(PathJoin("/a", "b"), "/a/b");
}

TEST(FoldersTest, DataFilesBesideTheProgramElseInTheInstalledShareFolder) {
  test::TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directories(dir.Path() + "/bin");
  // nothing anywhere: the program folder
  EXPECT_EQ(DataFolderFor(dir.Path() + "/bin"), dir.Path() + "/bin");
  fs::create_directories(dir.Path() + "/share/varnel");
  EXPECT_EQ(DataFolderFor(dir.Path() + "/bin"), dir.Path() + "/share/varnel");
  // a build tree or a copy run in place keeps its strips beside the program
  test::WriteText(dir.Path() + "/bin/toolbar.png", "");
  EXPECT_EQ(DataFolderFor(dir.Path() + "/bin"), dir.Path() + "/bin");
}

}  // namespace
}  // namespace varnel

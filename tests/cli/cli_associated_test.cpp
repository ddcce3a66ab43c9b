// varnel-cli associated over a desktop and a registry store made for the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCli;
using varnel::test::RunCommand;

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  varnel::test::WriteText(path, text);
}

void CopyCorpus(const std::string& relative, const std::string& path) {
  fs::create_directories(fs::path(path).parent_path());
  fs::copy_file(varnel::test::CorpusPath(relative), path);
}

TEST(CliAssociatedTest, TheDesktopsThemeIconsAreNamedAfterTheirExtensions) {
  VARNEL_SKIP_WITHOUT_CORPUS("png/basn6a08.png");
  varnel::test::TempDir dir;
  std::string data = dir.File("data");
  WriteFile(data + "/mime/globs2", "50:text/plain:*.txt\n50:text/x-log:*.log\n50:model/x:*.m3\n");
  WriteFile(dir.File("config/gtk-3.0/settings.ini"), "[Settings]\ngtk-icon-theme-name=Mine\n");
  WriteFile(data + "/icons/Mine/index.theme",
            "[Icon Theme]\nDirectories=32/m\n[32/m]\nSize=32\nType=Fixed\n");
  std::string icon = data + "/icons/Mine/32/m/text-x-generic.png";
  CopyCorpus("png/basn6a08.png", icon);
  std::string environment = "env GSETTINGS_BACKEND=memory HOME=" + dir.Path() +
                            " XDG_DATA_HOME=" + data + " XDG_DATA_DIRS=" + dir.File("none") +
                            " XDG_CONFIG_HOME=" + dir.File("config") + " ";
  auto result = RunCommand(environment + VARNEL_CLI + " associated -o " + dir.File("out.icc"));
  ASSERT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find("log\t" + icon + "\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("txt\t" + icon + "\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("2 associated icons found"), std::string::npos) << result.out;
  EXPECT_EQ(varnel::test::CountLines(RunCli("list " + dir.File("out.icc")).out), 2u);
}

TEST(CliAssociatedTest, ARegistryStoresClassesAndUsageErrors) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string ico = dir.File("python.ico");
  CopyCorpus("ico/python.ico", ico);
  WriteFile(dir.File("registry.txt"),
            "[HKEY_CLASSES_ROOT\\.py]\n@=\"Python.File\"\n"
            "[HKEY_CLASSES_ROOT\\Python.File\\DefaultIcon]\n@=\"" +
                ico +
                ",-python.ico\"\n"
                "[HKEY_CLASSES_ROOT\\.none]\n@=\"None.File\"\n");
  auto result = RunCli("associated --registry " + dir.File("registry.txt"));
  ASSERT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find("py\t" + ico + "\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("1 associated icon found"), std::string::npos) << result.out;
  EXPECT_EQ(RunCli("associated extra").status, 2);
  EXPECT_EQ(RunCli("associated -o " + dir.File("out.txt")).status, 2);
}

}  // namespace

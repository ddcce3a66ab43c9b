// varnel-cli update: a module's icons given the images of other files, in the module itself.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::CorpusPath;
using varnel::test::RunCli;

// The image list of icon line `index` as `list` prints it ("16x16x2"); empty when absent.
std::string ImagesOfIcon(const std::string& module, int index) {
  std::string listed = RunCli("list " + module).out;
  std::string marker = "[" + std::to_string(index) + "] ";
  size_t at = listed.find(marker);
  if (at == std::string::npos) return "";
  size_t colon = listed.find(": ", at), end = listed.find('\n', at);
  return listed.substr(colon + 2, end - colon - 2);
}

TEST(CliUpdate, ReplacesOneIconOrIconsInOrderAndSaysWhenNothingWasWritten) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico", "ico/hopper.ico", "ico/black_and_white.ico",
                             "ico/hopper_mask.ico");
  varnel::test::TempDir dir;
  std::string module = dir.File("lib.dll");
  ASSERT_EQ(RunCli("library " + CorpusPath("ico/gtk.ico") + " " + CorpusPath("ico/hopper.ico") +
                   " -o " + module)
                .status,
            0);
  // A smaller image for icon 1: the resources are rebuilt.
  Result one =
      RunCli("update " + module + " --from " + CorpusPath("ico/black_and_white.ico") + " --icon 1");
  EXPECT_EQ(one.status, 0) << one.out;
  EXPECT_EQ(one.out, module + ": 1 icon updated\n");
  EXPECT_EQ(ImagesOfIcon(module, 0), "32x32x16");
  EXPECT_EQ(ImagesOfIcon(module, 1), "16x16x2");

  Result again =
      RunCli("update " + module + " --from " + CorpusPath("ico/black_and_white.ico") + " --icon 1");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.out.find("nothing written"), std::string::npos) << again.out;

  Result both = RunCli("update " + module + " --from " + CorpusPath("ico/hopper_mask.ico") + " " +
                       CorpusPath("ico/gtk.ico"));
  EXPECT_EQ(both.status, 0) << both.out;
  EXPECT_EQ(ImagesOfIcon(module, 0), "16x16x2");
  EXPECT_EQ(ImagesOfIcon(module, 1), "32x32x16");
}

TEST(CliUpdate, FilesThatCannotBeUpdatedAndUsageErrors) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico", "ico/hopper.ico");
  varnel::test::TempDir dir;
  std::string gtk = CorpusPath("ico/gtk.ico"), hopper = CorpusPath("ico/hopper.ico");
  std::string module = dir.File("lib.dll");
  ASSERT_EQ(RunCli("library " + hopper + " -o " + module).status, 0);
  std::string text = dir.File("notes.txt");
  varnel::test::WriteText(text, "plain text\n");
  Result notModule = RunCli("update " + text + " --from " + gtk);
  EXPECT_EQ(notModule.status, 1);
  EXPECT_NE(notModule.out.find("Not icon library file"), std::string::npos) << notModule.out;

  Result tooMany = RunCli("update " + module + " --from " + gtk + " " + hopper);
  EXPECT_EQ(tooMany.status, 1);
  EXPECT_EQ(RunCli("update " + module).status, 2);
  EXPECT_EQ(RunCli("update " + module + " --from " + gtk + " --icon x").status, 2);
  EXPECT_EQ(RunCli("update --from " + gtk).status, 2);
}

// A module the file system will not let be rewritten is reported with the system's reason, not
// as a protected file. Root may write anything, so the run is made as "nobody" then.
TEST(CliUpdate, ReadOnlyModuleSaysWhyItCannotBeWritten) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico", "ico/hopper.ico");
  std::string runAs;
  if (::geteuid() == 0) {
    if (varnel::test::RunCommand("setpriv --version").status != 0)
      GTEST_SKIP() << "setpriv is missing";
    runAs = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  varnel::test::TempDir dir;
  std::string module = dir.File("lib.dll");
  ASSERT_EQ(RunCli("library " + CorpusPath("ico/hopper.ico") + " -o " + module).status, 0);
  std::filesystem::permissions(dir.Path(), std::filesystem::perms(0755));
  std::filesystem::permissions(module, std::filesystem::perms(0444));
  Result result = varnel::test::RunCommand(runAs + VARNEL_CLI + " update " + module + " --from " +
                                           CorpusPath("ico/gtk.ico"));
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("Cannot write file \"" + module + "\". Permission denied"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(result.out.find("Exe-protector"), std::string::npos);
}

}  // namespace

// The names of the command line: the joined line first, then each argument.

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "app/commandline.h"

namespace varnel {
namespace {

struct Opener {
  std::set<std::string> openable;
  std::vector<std::string> attempts;
  void operator()(const std::string& name) {
    attempts.push_back(name);
    if (!openable.count(name)) throw std::runtime_error(name + " - icons not found");
  }
};

TCommandLineOutcome OpenAll(Opener& opener, const std::vector<std::string>& arguments) {
  return ProcessCommandLine(arguments, "/work", [&](const std::string& name) { opener(name); });
}

TEST(CommandLine, TwoFilesTryTheJoinedNameFirstThenEach) {
  Opener opener{{"/work/a.ico", "/work/b.ico"}, {}};
  TCommandLineOutcome outcome = OpenAll(opener, {"a.ico", "b.ico"});
  EXPECT_EQ(opener.attempts,
            (std::vector<std::string>{"/work/a.ico b.ico", "/work/a.ico", "/work/b.ico"}));
  EXPECT_EQ(outcome.opened, 2);
  ASSERT_EQ(outcome.errors.size(), 1u);
  EXPECT_EQ(outcome.errors[0], "/work/a.ico b.ico - icons not found");
}

TEST(CommandLine, OneNameWithBlanksOpensAtTheFirstAttempt) {
  Opener opener{{"/tmp/my icons.icl"}, {}};
  TCommandLineOutcome outcome = OpenAll(opener, {"/tmp/my icons.icl"});
  EXPECT_EQ(opener.attempts.size(), 1u);
  EXPECT_EQ(outcome.opened, 1);
  EXPECT_TRUE(outcome.errors.empty());
}

TEST(CommandLine, AFailingSingleNameIsTriedTwiceAndReportedTwice) {
  Opener opener;
  TCommandLineOutcome outcome = OpenAll(opener, {"/tmp/missing.ico"});
  EXPECT_EQ(opener.attempts.size(), 2u);
  EXPECT_EQ(outcome.errors.size(), 2u);
  EXPECT_EQ(outcome.opened, 0);
}

TEST(CommandLine, BlankArgumentsAreSkipped) {
  Opener opener{{"/work/a.ico"}, {}};
  OpenAll(opener, {"  ", "a.ico"});
  // The joined line "   a.ico" trims to the same name and opens.
  EXPECT_EQ(opener.attempts, (std::vector<std::string>{"/work/a.ico"}));
}

TEST(CommandLine, NoArgumentsOpenNothing) {
  Opener opener;
  TCommandLineOutcome outcome = OpenAll(opener, {});
  EXPECT_TRUE(opener.attempts.empty());
  EXPECT_EQ(outcome.opened, 0);
}

TEST(CommandLine, NamesAreTrimmedAndMadeAbsolute) {
  EXPECT_EQ(ExpandCommandLineName("  icons/a.ico ", "/home/u"), "/home/u/icons/a.ico");
  EXPECT_EQ(ExpandCommandLineName("/x/a.ico", "/home/u"), "/x/a.ico");
  EXPECT_EQ(ExpandCommandLineName("a.ico", "/"), "/a.ico");
}

TEST(CommandLine, TheFolderOfTheLastNameBecomesTheOpenFolder) {
  Opener opener;
  TCommandLineOutcome outcome = OpenAll(opener, {"/tmp/missing.ico"});
  EXPECT_EQ(outcome.initialFolder, "/tmp");
  outcome = OpenAll(opener, {"/no/such/folder/x.ico"});
  EXPECT_EQ(outcome.initialFolder, "");
}

}  // namespace
}  // namespace varnel

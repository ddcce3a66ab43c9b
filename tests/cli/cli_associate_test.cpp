// varnel-cli associate in a temporary home: the desktop then opens the types with varnel, and
// --remove gives them back.

#include <gtest/gtest.h>

#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCommand;

TEST(CliAssociateTest, AssociatesTheNamedTypesAndRemovesThemAgain) {
  varnel::test::TempDir home;
  std::string env =
      "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u DBUS_SESSION_BUS_ADDRESS HOME=" +
      home.Path() + " XDG_DATA_HOME=" + home.File("data") +
      " XDG_CONFIG_HOME=" + home.File("config") + " XDG_CONFIG_DIRS=" + home.File("etc") +
      " XDG_DATA_DIRS=" + home.File("share") + " ";
  auto associated = RunCommand(env + VARNEL_CLI " associate --types icc");
  ASSERT_EQ(associated.status, 0) << associated.out;
  EXPECT_NE(associated.out.find(".icc (application/x-varnel-collection): opens with varnel"),
            std::string::npos)
      << associated.out;
  auto query = RunCommand(env + "xdg-mime query default application/x-varnel-collection");
  EXPECT_EQ(query.out, "varnel.desktop\n");
  // The libraries were not named: their default stays unset.
  EXPECT_EQ(varnel::test::FileText(home.File("config/mimeapps.list")).find("icon-library"),
            std::string::npos);

  auto removed = RunCommand(env + VARNEL_CLI " associate --remove");
  ASSERT_EQ(removed.status, 0) << removed.out;
  EXPECT_EQ(RunCommand(env + "xdg-mime query default application/x-varnel-collection").out, "");
  EXPECT_EQ(RunCommand(std::string("find ") + home.Path() + " -type f").out, "");

  EXPECT_EQ(RunCommand(env + VARNEL_CLI " associate --types icc,ico").status, 2);
}

}  // namespace

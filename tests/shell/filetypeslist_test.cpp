#include "shell/filetypeslist.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

using Entries = std::vector<std::string>;

TEST(FileTypesListTest, OpeningLowerCasesSkipsEmptyPiecesAndOkJoinsThemAgain) {
  FileTypesList list("*.ico;;*.CUR;", ';', "*.exe");
  EXPECT_EQ(list.Entries(), (Entries{"*.ico", "*.cur"}));
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(list.SelectedText(), "*.ico");
  EXPECT_EQ(list.Text(), "*.ico;*.cur");
  EXPECT_EQ(FileTypesList("", ';', "").Selected(), -1);
}

TEST(FileTypesListTest, AddingSelectsAnEntryAlreadyThereOrPutsTheNewOneOnTop) {
  FileTypesList list("*.ico;*.cur", ';', "");
  list.Add("  *.CUR ");
  EXPECT_EQ(list.Entries(), (Entries{"*.ico", "*.cur"}));
  EXPECT_EQ(list.Selected(), 1);
  list.Add("   ");
  EXPECT_EQ(list.Entries().size(), 2u);
  list.Add(" *.ani ");
  EXPECT_EQ(list.Entries(), (Entries{"*.ani", "*.ico", "*.cur"}));
  EXPECT_EQ(list.SelectedText(), "*.ani");
}

TEST(FileTypesListTest, DeletingSelectsTheNextEntryOrTheLastAndDefaultReloads) {
  FileTypesList list("a|b|c", '|', "*.X|*.y");
  list.Select(1);
  list.DeleteSelected();
  EXPECT_EQ(list.SelectedText(), "c");
  list.DeleteSelected();
  EXPECT_EQ(list.SelectedText(), "a");
  list.DeleteSelected();
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.SelectedText(), "");
  list.DeleteSelected();
  EXPECT_EQ(list.Text(), "");
  list.LoadDefault();
  EXPECT_EQ(list.Text(), "*.x|*.y");
  list.Select(7);
  EXPECT_EQ(list.Selected(), -1);
}

}  // namespace
}  // namespace varnel

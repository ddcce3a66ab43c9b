// Files and folders dropped on the window, and "Import Files...".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/importcommands.h"
#include "apptestsupport.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

namespace fs = std::filesystem;

TEST(DroppedItems, FilesAndFoldersAreImportedAndDocumentsSkipped) {
  GridHarness harness;
  TempDir dir;
  fs::create_directories(dir.File("nested/deeper"));
  fs::copy_file(CorpusPath("ico/python.ico"), dir.File("nested/deeper/python.ico"));
  fs::copy_file(CorpusPath("ico/python.ico"), dir.File("notes.txt"));
  fs::copy_file(CorpusPath("ico/python.ico"), dir.File("single.ico"));
  std::vector<std::string> errors =
      ImportDroppedItems(*harness.lib, {dir.File("notes.txt"), dir.File("single.ico")});
  EXPECT_TRUE(errors.empty());
  int fromOneFile = harness.lib->Count();
  ASSERT_GT(fromOneFile, 0);
  harness.settings.ExcludeDups = false;  // the folder holds the same icon again
  errors = ImportDroppedItems(*harness.lib, {dir.File("nested")});
  EXPECT_EQ(harness.lib->Count(), 2 * fromOneFile);
  EXPECT_FALSE(harness.lib->Busy());
}

TEST(DroppedItems, ABrokenFileGivesAnErrorAndTheOthersStillCome) {
  GridHarness harness;
  TempDir dir;
  fs::copy_file(CorpusPath("ico/python.ico"), dir.File("good.ico"));
  { std::ofstream(dir.File("broken.ico")) << "not an icon"; }
  std::vector<std::string> errors =
      ImportDroppedItems(*harness.lib, {dir.File("broken.ico"), dir.File("good.ico")});
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_GT(harness.lib->Count(), 0);
}

TEST(ImportFilesCommand, ChosenFilesAreImportedAndErrorsListed) {
  GridHarness harness;
  TempDir dir;
  { std::ofstream(dir.File("broken.ico")) << "not an icon"; }
  harness.ui.fileAnswers.push_back(
      TFileDialogAnswer{{CorpusPath("ico/python.ico"), dir.File("broken.ico")}, 1});
  ImportFiles(*harness.lib, "");
  ASSERT_EQ(harness.ui.fileRequests.size(), 1u);
  EXPECT_TRUE(harness.ui.fileRequests[0].multiSelect);
  EXPECT_GT(harness.lib->Count(), 0);
  EXPECT_TRUE(harness.lib->GetModified());
  EXPECT_EQ(harness.ui.errorLists.size(), 1u);
}

TEST(ImportFilesCommand, CancelImportsNothing) {
  GridHarness harness;
  ImportFiles(*harness.lib, "");
  EXPECT_EQ(harness.lib->Count(), 0);
  EXPECT_FALSE(harness.lib->GetModified());
}

}  // namespace
}  // namespace varnel::test

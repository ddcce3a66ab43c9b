// Saving a collection back into the module it was opened from.

#include <gtest/gtest.h>

#include "base/fileio.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

class ModuleSaveTest : public ::testing::Test {
 protected:
  // A 32-bit library of two icons saved as a ".dll", opened into the collection.
  void OpenLibrary() {
    TIconLibrary library;
    library.Icons.AddIcon("one", test::IconOfSizes({16, 32}));
    library.Icons.AddIcon("two", test::IconOfSizes({48}));
    library.SaveAs32Bit(module);
    lib.OpenFile(module);
    ASSERT_EQ(lib.Count(), 2);
  }

  TSubIcon& FirstImage() { return *lib.Items().Icons(0)->Images()[0]; }

  test::TempDir dir;
  std::string module = dir.File("icons.dll");
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
};

TEST_F(ModuleSaveTest, EditedImagesGoIntoTheModuleAndEndTheModifiedState) {
  OpenLibrary();
  std::vector<uint8_t> recoloured = FirstImage().Data().ToVector();
  recoloured.back() ^= 0xFF;
  FirstImage().SetData(recoloured);
  lib.SetModified(true);
  collection.ui.confirmAnswers.push_back({true, false});
  EXPECT_TRUE(lib.Save());
  EXPECT_FALSE(lib.GetModified());
  EXPECT_EQ(lib.FileName, module);
  TIconLibrary back;
  back.LoadFromFile(module);
  EXPECT_EQ(back.Icon(0)->Images()[0]->Data(), recoloured);
}

TEST_F(ModuleSaveTest, NamesAloneAreNotWrittenAndARefusalIsShown) {
  OpenLibrary();
  std::vector<uint8_t> before = ReadWholeFile(module);
  lib.Items().SetName(0, "renamed");
  lib.SetModified(true);
  collection.ui.confirmAnswers.push_back({true, false});
  EXPECT_TRUE(lib.Save());
  EXPECT_EQ(ReadWholeFile(module), before);
  EXPECT_TRUE(lib.GetModified());  // the file does not hold the new name

  lib.Items().Icons(1)->Images().Add(test::IconOfSizes({16})->Images().Extract(0));
  collection.ui.confirmAnswers.push_back({true, false});
  EXPECT_FALSE(lib.Save());
  EXPECT_EQ(collection.ui.messages.back().text,
            "Can not update source file. Library structure was modified. Icon 1: frame quantity "
            "in source file and library are different. Use Save As... command");
  EXPECT_EQ(ReadWholeFile(module), before);
  EXPECT_TRUE(lib.GetModified());
}

}  // namespace
}  // namespace varnel

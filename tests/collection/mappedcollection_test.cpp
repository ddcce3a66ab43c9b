// Large collections: the images of an opened collection file stay in its mapping, a save of an
// unchanged collection gives the same bytes, a file cut by another program while it is open
// never ends the process, and the grouped search for copies finds exactly what comparing every
// icon's hash finds.

#include <gtest/gtest.h>
#include <unistd.h>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/duplicatefinder.h"
#include "collection/duplicategroups.h"
#include "collection/fileimport.h"
#include "collection/iconhash.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

// Every sample ICO file imported twice, so that each icon has a byte copy, and every third icon
// once more with its PNG images unpacked, so that some copies are equal in pixels only.
class MappedCollectionTest : public ::testing::Test {
 protected:
  test::TestCollection source, opened;
  test::TempDir dir;

  void SetUp() override {
    std::vector<std::string> files = test::CorpusFiles("ico", {".ico"});
    if (files.empty()) GTEST_SKIP() << "no ICO files in the sample corpus";
    std::vector<std::string> errors;
    for (int pass = 0; pass < 2; ++pass)
      for (const std::string& file : files) ImportFile(source.lib, file, &errors);
    ASSERT_GT(source.lib.Count(), 10);
    int imported = source.lib.Count();
    for (int i = 0; i < imported; i += 3) {
      auto icon = std::make_unique<TAdvancedIcon>();
      for (const auto& image : source.lib.Items().Icons(i)->Images()) {
        auto copy = std::make_unique<TSubIcon>();
        copy->LoadCopy(*image);
        try {
          if (image->IsPng()) image->UnpackPng(*copy);
        } catch (const Exception&) {
        }
        icon->Images().Add(std::move(copy));
      }
      source.lib.Document.Append("re-encoded", std::move(icon));
    }
    source.lib.WriteCollectionFile(dir.File("all.icc"));
  }

  std::vector<const TAdvancedIcon*> OpenedIcons() {
    std::vector<const TAdvancedIcon*> icons;
    for (int i = 0; i < opened.lib.Count(); ++i) icons.push_back(opened.lib.Items().Icons(i));
    return icons;
  }
};

TEST_F(MappedCollectionTest, ImagesStayInTheFileWhichSavesBackByteForByteUntilItIsCut) {
  std::string path = dir.File("all.icc");
  opened.lib.ReadCollectionFile(path);
  ASSERT_EQ(opened.lib.Count(), source.lib.Count());
  for (const TAdvancedIcon* icon : OpenedIcons())
    for (const auto& image : icon->Images()) ASSERT_TRUE(image->Data().Keeper());
  opened.lib.WriteCollectionFile(dir.File("copy.icc"));
  EXPECT_EQ(ReadWholeFile(dir.File("copy.icc")), ReadWholeFile(path));

  // Cut to half by another program: the icons of the lost half read as damaged, those before
  // the cut as before, and the save refuses.
  std::vector<uint32_t> hashes;
  for (const TAdvancedIcon* icon : OpenedIcons()) hashes.push_back(CompareHash(*icon));
  ASSERT_EQ(::truncate(path.c_str(), off_t(ReadWholeFile(path).size() / 2)), 0);
  size_t damaged = 0;
  for (size_t i = 0; i < hashes.size(); ++i) {
    try {
      EXPECT_EQ(CompareHash(*OpenedIcons()[i]), hashes[i]) << i;
    } catch (const Exception&) {
      ++damaged;
      EXPECT_GE(i, hashes.size() / 3) << "an icon before the cut read as damaged";
    }
  }
  EXPECT_GE(damaged, hashes.size() / 3);
  EXPECT_THROW(opened.lib.WriteCollectionFile(dir.File("cut.icc")), EFileError);
  EXPECT_NE(::access(dir.File("cut.icc").c_str(), F_OK), 0);
}

TEST_F(MappedCollectionTest, GroupedSearchFindsWhatComparingEveryHashFinds) {
  opened.lib.ReadCollectionFile(dir.File("all.icc"));
  std::vector<const TAdvancedIcon*> icons = OpenedIcons();
  std::vector<uint32_t> hashes;
  for (const TAdvancedIcon* icon : icons) {
    try {
      hashes.push_back(CompareHash(*icon));
    } catch (const Exception&) {
      hashes.push_back(0);
    }
  }
  std::vector<int> expected = FindDuplicatePositions(icons, hashes, nullptr);
  EXPECT_EQ(FindDuplicatesGrouped(icons, nullptr, 2), expected);
  EXPECT_GE(expected.size(), size_t(opened.lib.Count() / 2));
  // A stop while hashing deletes nothing.
  EXPECT_TRUE(FindDuplicatesGrouped(icons, [](int, bool hashing) { return !hashing; }).empty());
}

}  // namespace
}  // namespace varnel

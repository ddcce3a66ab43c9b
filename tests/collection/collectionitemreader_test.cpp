// Reading a collection file's items one at a time, as the preview grid asks for them.

#include <gtest/gtest.h>

#include "base/fileio.h"
#include "collection/collectionitemreader.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

class CollectionItemReaderTest : public ::testing::Test {
 protected:
  test::TempDir dir;

  // A collection file of items whose single image is 8, 9, 10, ... pixels wide.
  std::string Write(int count) {
    test::TestCollection collection;
    for (int i = 0; i < count; ++i)
      collection.lib.AppendItem("i" + std::to_string(i), test::IconOfSizes({8 + i}));
    std::string path = dir.File("items.icc");
    collection.lib.WriteCollectionFile(path);
    return path;
  }
  static int WidthOf(const std::unique_ptr<TAdvancedIcon>& icon) {
    return icon && icon->Images().Count() ? icon->Images()[0]->ImageWidth() : -1;
  }
};

TEST_F(CollectionItemReaderTest, ReadingGoesOnFromTheLastItemOrStartsAgain) {
  TCollectionItemReader reader(Write(3));
  EXPECT_EQ(reader.Count(), 3);
  EXPECT_EQ(reader.LastRead(), -1);
  EXPECT_EQ(reader.RecordsRead(), 0);  // only the header so far

  EXPECT_EQ(WidthOf(reader.Icon(1)), 9);
  EXPECT_EQ(reader.RecordsRead(), 2);
  int64_t afterSecond = reader.NextPosition();
  // The last cell reads on from the second item's end: one more record.
  EXPECT_EQ(WidthOf(reader.Icon(2)), 10);
  EXPECT_EQ(reader.RecordsRead(), 3);
  EXPECT_GT(reader.NextPosition(), afterSecond);
  // An earlier item starts again from the first.
  EXPECT_EQ(WidthOf(reader.Icon(0)), 8);
  EXPECT_EQ(reader.RecordsRead(), 4);
  EXPECT_EQ(reader.LastRead(), 0);

  EXPECT_EQ(reader.Icon(3), nullptr);
  EXPECT_EQ(reader.Icon(-1), nullptr);
}

TEST_F(CollectionItemReaderTest, DamagedFilesGiveNoIconsAndBoundedCounts) {
  std::string path = Write(3);
  std::vector<uint8_t> bytes = ReadWholeFile(path);

  // A header that claims four billion items: the count is what the file's size can hold.
  std::vector<uint8_t> claiming = bytes;
  for (int i = 12; i < 16; ++i) claiming[size_t(i)] = 0xFF;
  WriteFileAtomic(dir.File("claiming.icc"), claiming);
  TCollectionItemReader large(dir.File("claiming.icc"));
  EXPECT_LE(large.Count(), int(bytes.size() / 13));
  EXPECT_EQ(WidthOf(large.Icon(2)), 10);
  EXPECT_EQ(large.Icon(large.Count() - 1), nullptr);  // past the real items: the read fails
  EXPECT_EQ(WidthOf(large.Icon(0)), 8);               // and reading starts again

  // Cut inside the second item: the first still reads, the second does not.
  TCollectionItemReader whole(path);
  whole.Icon(0);
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + whole.NextPosition() + 10);
  WriteFileAtomic(dir.File("cut.icc"), cut);
  TCollectionItemReader shortened(dir.File("cut.icc"));
  EXPECT_EQ(shortened.Icon(1), nullptr);
  EXPECT_EQ(WidthOf(shortened.Icon(0)), 8);

  WriteFileAtomic(dir.File("other.icc"), std::vector<uint8_t>(32, 'x'));
  std::string other = dir.File("other.icc");
  EXPECT_ANY_THROW(TCollectionItemReader reader(other));
}

}  // namespace
}  // namespace varnel

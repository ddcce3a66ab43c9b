#include <gtest/gtest.h>

#include "collection/duplicatefinder.h"
#include "collection/iconhash.h"

namespace varnel {
namespace {

std::unique_ptr<TAdvancedIcon> Icon(std::initializer_list<TColor> colors) {
  auto icon = std::make_unique<TAdvancedIcon>();
  for (TColor color : colors) {
    TBitmap bitmap(16, 16, PixelFormat::Bits24);
    bitmap.Fill(color);
    icon->Images().AddFromBitmap(bitmap, nullptr, 0);
  }
  return icon;
}

TEST(IconHashTest, EqualIconsHashEquallyAndHashesAreNeverZero) {
  auto a = Icon({RGB(1, 2, 3)}), b = Icon({RGB(1, 2, 3)}), c = Icon({RGB(3, 2, 1)});
  EXPECT_EQ(SearchHash(*a), SearchHash(*b));
  EXPECT_EQ(CompareHash(*a), CompareHash(*b));
  EXPECT_NE(SearchHash(*a), SearchHash(*c));
  TAdvancedIcon empty;
  EXPECT_EQ(SearchHash(empty), 1u);
  EXPECT_EQ(CompareHash(empty), 1u);
}

TEST(IconHashTest, TransparentPixelColoursDoNotChangeTheHash) {
  TBitmap one(2, 1, PixelFormat::Bits32), two(2, 1, PixelFormat::Bits32);
  one.ScanLine(0)[3] = two.ScanLine(0)[3] = 255;
  two.ScanLine(0)[4] = 99;  // a colour under alpha 0
  TAdvancedIcon a, b;
  a.Images().AddFromBitmap(one, nullptr, 0);
  b.Images().AddFromBitmap(two, nullptr, 0);
  ASSERT_TRUE(a.SameIcon(b));
  EXPECT_EQ(SearchHash(a), SearchHash(b));
  EXPECT_EQ(CompareHash(a), CompareHash(b));
}

std::vector<int> Duplicates(const std::vector<std::unique_ptr<TAdvancedIcon>>& icons,
                            int stopAt = -1) {
  std::vector<const TAdvancedIcon*> pointers;
  std::vector<uint32_t> hashes;
  for (const auto& icon : icons) {
    pointers.push_back(icon.get());
    hashes.push_back(CompareHash(*icon));
  }
  return FindDuplicatePositions(pointers, hashes, [&](int position) { return position > stopAt; });
}

TEST(DuplicateFinderTest, LaterCopiesGoAndTheFirstStays) {
  std::vector<std::unique_ptr<TAdvancedIcon>> icons;
  icons.push_back(Icon({clWhite, clBlack}));
  icons.push_back(Icon({clBlack, clWhite}));  // same images in another order: not equal
  icons.push_back(Icon({clWhite, clBlack}));
  icons.push_back(Icon({clWhite}));
  icons.push_back(Icon({clWhite, clBlack}));
  EXPECT_EQ(Duplicates(icons), (std::vector<int>{4, 2}));
}

TEST(DuplicateFinderTest, StopKeepsWhatWasFound) {
  std::vector<std::unique_ptr<TAdvancedIcon>> icons;
  for (int i = 0; i < 25; ++i) icons.push_back(Icon({clWhite}));
  std::vector<int> found = Duplicates(icons, 10);  // stops when position 10 is reached
  EXPECT_EQ(found.size(), 14u);
  EXPECT_EQ(found.front(), 24);
  EXPECT_EQ(found.back(), 11);
}

}  // namespace
}  // namespace varnel

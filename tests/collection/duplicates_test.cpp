#include <gtest/gtest.h>

#include "collection/duplicatefinder.h"
#include "collection/duplicategroups.h"
#include "collection/iconhash.h"

#include <zlib.h>

#include "graphics/canvas.h"
#include "resources/iconlist.h"

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

// The pixel CRC as it is defined: the bitmap drawn into a 24-bit bitmap whose width is rounded
// up to a multiple of 4 (new columns white), fully transparent pixels black, CRC register of
// the stored rows.
uint32_t CrcOfTwentyFourBitCopy(TBitmap bitmap) {
  if (bitmap.Format() == PixelFormat::Bits32)
    for (int y = 0; y < bitmap.Height(); ++y)
      for (uint8_t* p = bitmap.ScanLine(y); p < bitmap.ScanLine(y) + 4 * bitmap.Width(); p += 4)
        if (p[3] == 0) p[0] = p[1] = p[2] = 0;
  TBitmap work((bitmap.Width() + 3) / 4 * 4, bitmap.Height(), PixelFormat::Bits24);
  work.Fill(clWhite);
  Draw(work, 0, 0, bitmap);
  return ~uint32_t(crc32(0, work.Bits().data(), uInt(work.Bits().size())));
}

TEST(IconHashTest, HashesAreTheCrcsOfTwentyFourBitCopiesInEveryFormat) {
  TAdvancedIcon icon;
  for (PixelFormat format : {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8,
                             PixelFormat::Bits24, PixelFormat::Bits32}) {
    TBitmap bitmap(7, 5, format);  // an odd width: rows are padded
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) bitmap.SetPixel(x, y, RGB(uint8_t(40 * x), uint8_t(50 * y), 99));
    if (format == PixelFormat::Bits32)
      for (int x = 0; x < 7; ++x) bitmap.ScanLine(1)[4 * x + 3] = uint8_t(x % 2 ? 255 : 0);
    TBitmap mask(7, 5, PixelFormat::Bits1);
    mask.SetPixel(3, 3, clWhite);
    icon.Images().AddFromBitmap(bitmap, format == PixelFormat::Bits32 ? nullptr : &mask, 0);
  }
  uint32_t search = 0, compare = 0;
  for (const auto& image : icon.Images()) {
    TBitmap color, mask;
    image->GetBitmaps(nullptr, &color, clBlack, &mask);
    search += uint32_t(color.Width() + 32 * color.Height()) + CrcOfTwentyFourBitCopy(color);
    compare += CrcOfTwentyFourBitCopy(color) + CrcOfTwentyFourBitCopy(mask);
  }
  EXPECT_EQ(SearchHash(icon), search);
  EXPECT_EQ(CompareHash(icon), compare);
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

// A black glyph on a clear ground: a filled square of side `side` in a 16 x 16 32-bit image,
// its clear pixels coloured `clear`.
std::unique_ptr<TAdvancedIcon> Glyph(int side, TColor clear, bool png) {
  TBitmap bitmap(16, 16, PixelFormat::Bits32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint8_t* pixel = &bitmap.ScanLine(y)[x * 4];
      bool inside = x < side && y < side;
      pixel[0] = inside ? 0 : GetBValue(clear);
      pixel[1] = inside ? 0 : GetGValue(clear);
      pixel[2] = inside ? 0 : GetRValue(clear);
      pixel[3] = inside ? 255 : 0;
    }
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().AddFromBitmap(bitmap, nullptr, 0);
  if (png) icon->Images()[0]->PackPng(*icon->Images()[0]);
  return icon;
}

// Glyphs all render to a black colour image, so they share one search hash; the index must still
// tell them apart and find copies stored differently.
TEST(DuplicateIndexTest, GlyphsOfOneSearchHashAreToldApartAndTheirCopiesFound) {
  TIconList items;
  for (int side = 4; side <= 12; ++side) items.AddIcon("glyph", Glyph(side, clBlack, false));
  ASSERT_EQ(SearchHash(*items.Icons(0)), SearchHash(*items.Icons(8)));
  TDuplicateIndex index;
  index.Build(items);
  EXPECT_TRUE(index.AddUnlessPresent(items, *Glyph(13, clBlack, false), items.Count()));
  // Keys read without the hash: a byte copy is known by its bytes, anything else is hashed.
  auto exact = Glyph(5, clBlack, false), other = Glyph(14, clBlack, false);
  EXPECT_FALSE(index.AddUnlessPresent(items, *exact, {IconBytesKey(*exact)}, items.Count()));
  EXPECT_TRUE(index.AddUnlessPresent(items, *other, {IconBytesKey(*other)}, items.Count()));
  // Other colours under clear pixels, or the same pixels as a PNG: copies all the same.
  for (bool png : {false, true}) {
    auto copy = Glyph(7, png ? clBlack : clWhite, png);
    ASSERT_EQ(copy->SameIcon(*items.Icons(3)), true);
    EXPECT_FALSE(index.AddUnlessPresent(items, *copy, items.Count())) << png;
  }
}

}  // namespace
}  // namespace varnel

#include "graphics/bitmap.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace varnel {
namespace {

constexpr PixelFormat kStorableFormats[] = {
    PixelFormat::Bits1,  PixelFormat::Bits4,  PixelFormat::Bits8, PixelFormat::Bits15,
    PixelFormat::Bits16, PixelFormat::Bits24, PixelFormat::Bits32};

TEST(BitmapTest, RowsAreDibRowsStoredBottomUp) {
  EXPECT_EQ(DibRowBytes(1, 1), 4);
  EXPECT_EQ(DibRowBytes(33, 1), 8);
  EXPECT_EQ(DibRowBytes(3, 24), 12);
  EXPECT_EQ(DibRowBytes(7, 4), 4);
  TBitmap bitmap(5, 3, PixelFormat::Bits24);
  EXPECT_EQ(bitmap.RowBytes(), 16);
  EXPECT_EQ(bitmap.Bits().size(), 48u);
  EXPECT_EQ(bitmap.ScanLine(2), bitmap.Bits().data());
  EXPECT_EQ(bitmap.ScanLine(0), bitmap.Bits().data() + 32);
  bitmap.SetPixel(0, 0, RGB(1, 2, 3));
  EXPECT_EQ(bitmap.Bits()[32], 3);  // blue first
  EXPECT_EQ(bitmap.Bits()[34], 1);
}

TEST(BitmapTest, FormatsAndBitsCorrespond) {
  for (PixelFormat format : kStorableFormats)
    EXPECT_EQ(FormatOfBits(format == PixelFormat::Bits15 ? 15 : BitsOfFormat(format)), format);
  EXPECT_EQ(FormatOfBits(2), PixelFormat::Custom);
  EXPECT_EQ(BitsOfFormat(PixelFormat::Device), 0);
  EXPECT_THROW(TBitmap(1, 1, PixelFormat::Device), EInvalidGraphic);
  EXPECT_THROW(TBitmap(1, 1, PixelFormat::Custom), EInvalidGraphic);
}

TEST(BitmapTest, EveryFormatStoresAndReadsColours) {
  const TColor colors[] = {clBlack, clWhite, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  for (PixelFormat format : kStorableFormats) {
    SCOPED_TRACE(BitsOfFormat(format));
    TBitmap bitmap(9, 2, format);
    for (int i = 0; i < 5; ++i) bitmap.SetPixel(i, 1, colors[i]);
    int checked = format == PixelFormat::Bits1 ? 2 : 5;
    for (int i = 0; i < checked; ++i) EXPECT_EQ(bitmap.GetPixel(i, 1), colors[i]);
  }
}

TEST(BitmapTest, IndexedPixelsAndNearestEntries) {
  TBitmap bitmap(10, 2, PixelFormat::Bits4);
  EXPECT_EQ(bitmap.Palette(), StandardPalette(4));
  bitmap.SetIndex(9, 1, 13);
  bitmap.SetIndex(8, 1, 2);
  EXPECT_EQ(bitmap.GetIndex(9, 1), 13);
  EXPECT_EQ(bitmap.GetIndex(8, 1), 2);
  EXPECT_EQ(bitmap.GetPixel(9, 1), RGB(255, 0, 255));
  EXPECT_EQ(bitmap.NearestPaletteIndex(RGB(250, 10, 10)), 9);
  bitmap.SetPixel(0, 0, RGB(120, 120, 120));  // nearest of 808080 and C0C0C0
  EXPECT_EQ(bitmap.GetIndex(0, 0), 8);
  // The first of equally near entries wins; an index beyond the palette reads as black.
  bitmap.SetPalette({{0, 0, 0, 0}, {0, 0, 0, 0}, {255, 255, 255, 0}});
  EXPECT_EQ(bitmap.NearestPaletteIndex(clBlack), 0);
  EXPECT_EQ(bitmap.GetPixel(9, 1), clBlack);
  // Entries beyond what a 1-bit index reaches are never chosen.
  TBitmap mono(1, 1, PixelFormat::Bits1);
  mono.SetPalette({{0, 0, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}});
  EXPECT_EQ(mono.NearestPaletteIndex(clWhite), 1);
}

TEST(BitmapTest, StandardPalettes) {
  EXPECT_EQ(StandardPalette(1), (std::vector<RGBQuad>{{0, 0, 0, 0}, {255, 255, 255, 0}}));
  std::vector<RGBQuad> basic = StandardPalette(4);
  ASSERT_EQ(basic.size(), 16u);
  EXPECT_EQ(basic[1].ToColor(), RGB(0x80, 0, 0));
  EXPECT_EQ(basic[7].ToColor(), RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(basic[8].ToColor(), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(basic[15].ToColor(), clWhite);
  std::vector<RGBQuad> halftone = StandardPalette(8);
  ASSERT_EQ(halftone.size(), 256u);
  EXPECT_TRUE(std::equal(basic.begin(), basic.end(), halftone.begin()));
  EXPECT_TRUE(StandardPalette(24).empty());
}

TEST(BitmapTest, SetFormatConvertsPixels) {
  TBitmap bitmap(4, 4, PixelFormat::Bits24);
  bitmap.Fill(RGB(0, 0, 250));
  bitmap.SetPixel(1, 1, RGB(255, 255, 0));
  bitmap.SetFormat(PixelFormat::Bits4);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bits4);
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(bitmap.GetPixel(1, 1), RGB(255, 255, 0));
  bitmap.SetFormat(PixelFormat::Bits32);
  EXPECT_TRUE(bitmap.Palette().empty());
  EXPECT_EQ(bitmap.GetPixel(1, 1), RGB(255, 255, 0));
  EXPECT_EQ(bitmap.ScanLine(1)[4 + 3], 0);  // alpha 0 when drawn from another format
  bitmap.SetFormat(PixelFormat::Bits15);
  EXPECT_EQ(bitmap.ChannelMasks()[0], 0x7C00u);
  EXPECT_EQ(bitmap.GetPixel(1, 1), RGB(255, 255, 0));
}

TEST(BitmapTest, SixteenBitMasksDecideTheChannels) {
  TBitmap bitmap(2, 1, PixelFormat::Bits16);
  EXPECT_EQ(bitmap.ChannelMasks()[1], 0x07E0u);
  bitmap.Bits()[0] = 0x1F;  // blue at full scale in 5-6-5
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(0, 0, 255));
  bitmap.SetChannelMasks(0x001F, 0x07E0, 0xF800);
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(255, 0, 0));
  bitmap.SetPixel(1, 0, RGB(0x84, 0x10, 0x21));  // 5-bit values 0x10, 0x04 (6 bits), 0x04
  EXPECT_EQ(bitmap.GetPixel(1, 0), RGB(0x84, 0x10, 0x21));
}

TEST(BitmapTest, RefusesSizesBeyondTheLimits) {
  TBitmap bitmap(0, 0, PixelFormat::Bits8);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_THROW(bitmap.SetSize(-1, 5), EInvalidGraphic);
  EXPECT_THROW(bitmap.SetSize(kMaxBitmapDimension + 1, 1), EInvalidGraphic);
  EXPECT_THROW(TBitmap(kMaxBitmapDimension, kMaxBitmapDimension, PixelFormat::Bits32),
               EInvalidGraphic);
  bitmap.SetSize(kMaxBitmapDimension, 1);
  EXPECT_EQ(bitmap.Width(), kMaxBitmapDimension);
  EXPECT_THROW(bitmap.GetPixel(0, 1), std::out_of_range);
}

}  // namespace
}  // namespace varnel

#include "graphics/palettereduction.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "graphics/boxquantizer.h"

namespace varnel {
namespace {

void SetRgba(TBitmap& bitmap, int x, int y, TColor color, uint8_t alpha) {
  reinterpret_cast<RGBQuad*>(bitmap.ScanLine(y))[x] = RGBQuad::FromColor(color, alpha);
}

TBitmap Opaque32(int width, int height, TColor (*colorAt)(int x, int y)) {
  TBitmap bitmap(width, height, PixelFormat::Bits32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetRgba(bitmap, x, y, colorAt(x, y), 255);
  return bitmap;
}

TBitmap RandomPicture(int size, unsigned seed) {
  TBitmap bitmap(size, size, PixelFormat::Bits24);
  std::mt19937 random(seed);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) bitmap.SetPixel(x, y, random() & 0xFFFFFF);
  return bitmap;
}

int WorstChannelError(const TBitmap& picture, const TBitmap& indexed) {
  int worst = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      TColor a = picture.GetPixel(x, y), b = indexed.GetPixel(x, y);
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    }
  return worst;
}

TEST(PaletteReductionTest, FewColoursAreKeptExactlyWithBlackAndWhiteFirst) {
  TBitmap picture =
      Opaque32(4, 2, [](int x, int y) { return y == 0 ? RGB(200, 10, 10) : RGB(x, 90, 9); });
  TBitmap reduced = ReducePalette(picture, 256, 80);
  ASSERT_EQ(reduced.Format(), PixelFormat::Bits8);
  EXPECT_EQ(reduced.Palette()[0].ToColor(), clBlack);
  EXPECT_EQ(reduced.Palette()[1].ToColor(), clWhite);
  // black, white, the bottom-left pixel (0,90,9), then the top row's colour and the rest
  EXPECT_EQ(reduced.Palette()[2].ToColor(), RGB(0, 90, 9));
  EXPECT_EQ(reduced.Palette()[3].ToColor(), RGB(200, 10, 10));
  EXPECT_EQ(reduced.Palette().size(), 7u);
  EXPECT_EQ(WorstChannelError(picture, reduced), 0);
}

TEST(PaletteReductionTest, PixelsBelowTheAlphaThresholdTakeBlackAndAddNoColour) {
  TBitmap picture(2, 1, PixelFormat::Bits32);
  SetRgba(picture, 0, 0, RGB(1, 2, 3), 79);
  SetRgba(picture, 1, 0, RGB(4, 5, 6), 80);
  TBitmap reduced = ReducePalette(picture, 255, 80);
  EXPECT_EQ(reduced.GetIndex(0, 0), 0);
  EXPECT_EQ(reduced.GetPixel(1, 0), RGB(4, 5, 6));
  std::set<TColor> palette;
  for (const RGBQuad& entry : reduced.Palette()) palette.insert(entry.ToColor());
  EXPECT_FALSE(palette.contains(RGB(1, 2, 3)));
}

TEST(PaletteReductionTest, ColoursDifferingInTheLowestBitShareAnEntry) {
  // 400 colours that become 200 once the lowest bit of each channel is cleared
  TBitmap picture =
      Opaque32(20, 20, [](int x, int y) { return RGB(x * 8 + (y & 1), (y / 2) * 8, 64); });
  TBitmap reduced = ReducePalette(picture, 256, 80);
  EXPECT_LE(reduced.Palette().size(), 256u);
  EXPECT_LE(WorstChannelError(picture, reduced), 1);
}

TEST(PaletteReductionTest, ManyColoursFallBackToTheHistogramAndStayWithinTheLimit) {
  for (int limit : {255, 256}) {
    TBitmap picture = RandomPicture(64, 7);
    TBitmap reduced = ReducePalette(picture, limit, 80);
    EXPECT_EQ(reduced.Palette().size(), size_t(limit));
    EXPECT_EQ(reduced.Palette()[0].ToColor(), clBlack);
    EXPECT_EQ(reduced.Palette()[1].ToColor(), clWhite);
    std::set<TColor> distinct;
    for (const RGBQuad& entry : reduced.Palette()) distinct.insert(entry.ToColor());
    EXPECT_EQ(distinct.size(), size_t(limit)) << "palette entries repeat";
  }
}

TEST(BoxQuantizerTest, TwoColoursGiveThoseTwo) {
  TBitmap picture =
      Opaque32(8, 8, [](int x, int y) { return x < 4 ? RGB(250, 0, 0) : RGB(0, 0, 250); });
  std::vector<RGBQuad> palette = QuantizeColors(picture, 254);
  ASSERT_EQ(palette.size(), 2u);
  TBitmap mapped = MapToPalette(picture, palette);
  EXPECT_EQ(WorstChannelError(picture, mapped), 0);
}

TEST(BoxQuantizerTest, ManyColoursAreBoundedAndCloseToTheOriginal) {
  TBitmap picture = RandomPicture(128, 11);
  std::vector<RGBQuad> palette = QuantizeColors(picture, 254);
  EXPECT_EQ(palette.size(), 254u);
  TBitmap mapped = MapToPalette(picture, palette);
  // 254 boxes over uniform noise: no channel further off than a box's half side, roughly
  EXPECT_LE(WorstChannelError(picture, mapped), 64);
  EXPECT_TRUE(QuantizeColors(TBitmap(), 254).empty());
}

}  // namespace
}  // namespace varnel

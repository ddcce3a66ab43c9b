// Drawing icon images: natural size with mask or alpha, stretched, fitted into cells, previews,
// and the icon graphic that reports an image's real size.

#include "icons/icondrawing.h"

#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"
#include "icons/advancedicon.h"
#include "icons/hiresicon.h"
#include "icons/maskbits.h"
#include "support/corpus.h"

namespace varnel {
namespace {

constexpr TColor kCanvasColor = RGB(0, 0, 200);

// A 24-bit image of one colour whose listed pixels are transparent by the mask.
std::unique_ptr<TSubIcon> MaskedImage(int width, int height, TColor color,
                                      std::initializer_list<std::pair<int, int>> transparent = {}) {
  TBitmap bitmap(width, height, PixelFormat::Bits24);
  bitmap.Fill(color);
  TBitmap mask(width, height, PixelFormat::Bits1);
  for (auto [x, y] : transparent) {
    SetMaskBit(mask, x, y);
    bitmap.SetPixel(x, y, clBlack);
  }
  TSubIconList list;
  list.AddFromBitmap(bitmap, &mask, 0);
  return list.Extract(0);
}

// A 32-bit image whose every pixel is (b, g, r, a).
std::unique_ptr<TSubIcon> AlphaImage(int width, int height, RGBQuad pixel) {
  TBitmap bitmap(width, height, PixelFormat::Bits32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) std::memcpy(bitmap.ScanLine(y) + 4 * x, &pixel, 4);
  TSubIconList list;
  list.AddFromBitmap(bitmap, nullptr, 0);
  return list.Extract(0);
}

TBitmap Canvas(int width, int height) {
  TBitmap canvas(width, height, PixelFormat::Bits24);
  canvas.Fill(kCanvasColor);
  return canvas;
}

// The smallest rectangle holding every pixel that is not the canvas colour.
TRect DrawnArea(const TBitmap& canvas) {
  TRect area{canvas.Width(), canvas.Height(), 0, 0};
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.GetPixel(x, y) != kCanvasColor) {
        area.left = std::min(area.left, x);
        area.top = std::min(area.top, y);
        area.right = std::max(area.right, x + 1);
        area.bottom = std::max(area.bottom, y + 1);
      }
  return area;
}

void ExpectArea(const TBitmap& canvas, TRect expected) {
  TRect area = DrawnArea(canvas);
  EXPECT_EQ(area.left, expected.left);
  EXPECT_EQ(area.top, expected.top);
  EXPECT_EQ(area.right, expected.right);
  EXPECT_EQ(area.bottom, expected.bottom);
}

TEST(DrawFittedTest, EnlargedSmallImagesAreCentredWholeMultiples) {
  auto image = MaskedImage(16, 16, RGB(255, 0, 0));
  TBitmap canvas = Canvas(50, 40);
  DrawFitted(canvas, 0, 0, true, true, clWhite, *image, 40, 50);
  ExpectArea(canvas, {9, 4, 41, 36});  // 32 x 32: factor 2 fits 40 rows, 3 would not
  EXPECT_EQ(canvas.GetPixel(9, 4), RGB(255, 0, 0));
  EXPECT_EQ(canvas.GetPixel(40, 35), RGB(255, 0, 0));

  auto alpha = AlphaImage(16, 16, {0, 255, 0, 255});
  TBitmap second = Canvas(60, 50);
  DrawFitted(second, 5, 5, true, true, clWhite, *alpha, 40, 50);
  ExpectArea(second, {14, 9, 46, 41});
  TBitmap plain = Canvas(50, 40);
  DrawFitted(plain, 0, 0, false, true, clWhite, *image, 40, 50);
  ExpectArea(plain, {17, 12, 33, 28});
}

TEST(DrawFittedTest, LargeImagesShrinkKeepingProportionsOrStretchWithoutFit) {
  auto wide = MaskedImage(64, 32, RGB(255, 0, 0));
  TBitmap canvas = Canvas(48, 48);
  DrawFitted(canvas, 0, 0, false, true, clWhite, *wide, 48, 48);
  ExpectArea(canvas, {0, 12, 48, 36});
  TBitmap stretched = Canvas(48, 48);
  DrawFitted(stretched, 0, 0, false, false, clWhite, *wide, 48, 48);
  ExpectArea(stretched, {0, 0, 48, 48});
  // A cell of the image's own size draws it unscaled.
  TBitmap own = Canvas(64, 32);
  DrawFitted(own, 0, 0, true, true, clWhite, *wide, 32, 64);
  ExpectArea(own, {0, 0, 64, 32});
}

TEST(DrawFittedTest, ShrinkingUsesTheDisplayFilter) {
  TBitmap picture(64, 64, PixelFormat::Bits24);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) picture.SetPixel(x, y, RGB(uint8_t(4 * x), uint8_t(4 * y), 99));
  TSubIconList list;
  list.AddFromBitmap(picture, nullptr, 0);
  TBitmap canvas = Canvas(32, 32);
  DrawFitted(canvas, 0, 0, false, true, clWhite, *list[0], 32, 32);
  TBitmap expected(32, 32, PixelFormat::Bits24);
  Resample(picture, expected, kDisplayFilter);
  EXPECT_EQ(canvas, expected);
}

TEST(DrawMaskedTest, MaskedImagesAndOnesWithAlpha) {
  // Mask: transparent pixels keep the canvas.
  auto masked = MaskedImage(3, 1, RGB(255, 0, 0), {{1, 0}});
  TBitmap canvas = Canvas(3, 1);
  DrawMasked(canvas, 0, 0, clWhite, *masked);
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.GetPixel(1, 0), kCanvasColor);

  // Alpha over a background colour: bg + a*src div 255 - a*bg div 255 per channel.
  auto alpha = AlphaImage(1, 1, {100, 0, 200, 77});  // blue 100, red 200
  TBitmap composed = Canvas(1, 1);
  DrawMasked(composed, 0, 0, RGB(201, 0, 10), *alpha);
  EXPECT_EQ(composed.GetPixel(0, 0), RGB(201 + 60 - 60, 0, 10 + 30 - 3));
  // Alpha without background: blended over the canvas, dst + a*(src - dst) div 255.
  TBitmap blended = Canvas(1, 1);
  DrawMasked(blended, 0, 0, clNone, *alpha);
  EXPECT_EQ(blended.GetPixel(0, 0), RGB(0 + 60, 0, 200 + 77 * (100 - 200) / 255));
}

TEST(DrawMaskedTest, ThirtyTwoBitImagesWithoutAlphaUseTheirMask) {
  TBitmap bitmap(2, 1, PixelFormat::Bits32);
  bitmap.SetPixel(0, 0, RGB(0, 255, 0));  // alpha bytes stay 0
  TBitmap mask(2, 1, PixelFormat::Bits1);
  SetMaskBit(mask, 1, 0);
  TSubIconList list;
  list.AddFromBitmap(bitmap, &mask, 0);
  TBitmap canvas = Canvas(2, 1);
  DrawMasked(canvas, 0, 0, clWhite, *list[0]);
  EXPECT_EQ(canvas.GetPixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.GetPixel(1, 0), kCanvasColor);
  TBitmap stretched = Canvas(4, 2);
  DrawStretched(stretched, 0, 0, clWhite, *list[0], 2, 4);
  // Mitchell blends the neighbours a little: mostly green on the left, mostly white on the right.
  EXPECT_EQ(GetGValue(stretched.GetPixel(0, 0)), 255);
  EXPECT_LT(GetRValue(stretched.GetPixel(0, 0)), 50);
  EXPECT_GT(GetRValue(stretched.GetPixel(3, 1)), 200);
}

TEST(DrawAlphaTest, NoFilterReplicatesPixelsAFilterResamples) {
  TBitmap pixels(2, 2, PixelFormat::Bits32);
  const RGBQuad quads[4] = {{0, 0, 255, 255}, {0, 255, 0, 128}, {255, 0, 0, 0}, {9, 9, 9, 255}};
  for (int i = 0; i < 4; ++i) std::memcpy(pixels.ScanLine(i / 2) + 4 * (i % 2), &quads[i], 4);
  TSubIconList list;
  list.AddFromBitmap(pixels, nullptr, 0);
  const TSubIcon& image = *list[0];
  TBitmap composed(2, 2, PixelFormat::Bits24);
  DrawAlpha(composed, 0, 0, clWhite, image, 2, 2);
  EXPECT_EQ(composed.GetPixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(composed.GetPixel(1, 0), RGB(255 - 128, 255 + 128 - 128, 255 - 128));
  EXPECT_EQ(composed.GetPixel(0, 1), clWhite);

  TBitmap replicated = Canvas(4, 4), expected(4, 4, PixelFormat::Bits24);
  DrawAlphaScaled(replicated, 0, 0, rfNone, clWhite, image, 4, 4);
  StretchDraw(expected, {0, 0, 4, 4}, composed);
  EXPECT_EQ(replicated, expected);
  TBitmap resampled = Canvas(5, 5), filtered(5, 5, PixelFormat::Bits24);
  DrawAlphaScaled(resampled, 0, 0, rfLanczos3, clWhite, image, 5, 5);
  Resample(composed, filtered, rfLanczos3);
  EXPECT_EQ(resampled, filtered);
}

TEST(DrawWithoutBackgroundTest, TransparentCanvasReceivesTheImagePixels) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  TAdvancedIcon icon;
  ASSERT_TRUE(icon.LoadFromFile(test::CorpusPath("ico/python.ico")));
  const TSubIcon& image = *icon.Images()[1];
  TBitmap canvas(32, 32, PixelFormat::Bits32);
  DrawFitted(canvas, 0, 0, false, true, clNone, image, 32, 32);
  TBitmap own;
  image.GetBitmaps(nullptr, &own, clNone, nullptr);
  EXPECT_EQ(canvas, own);
  // Masked images: transparent where the mask is set, opaque colour elsewhere.
  auto masked = MaskedImage(2, 1, RGB(1, 2, 3), {{1, 0}});
  TBitmap layer(4, 2, PixelFormat::Bits32);
  DrawFitted(layer, 0, 0, true, true, clNone, *masked, 2, 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(layer.ScanLine(y)[4 * x + 3], x < 2 ? 255 : 0) << x << "," << y;
      EXPECT_EQ(layer.GetPixel(x, y), x < 2 ? RGB(1, 2, 3) : clBlack) << x << "," << y;
    }
}

TEST(DrawPreviewTest, BestImageOnTheBackgroundAtItsOwnSize) {
  TAdvancedIcon icon;
  icon.Images().Add(MaskedImage(16, 16, RGB(255, 0, 0), {{0, 0}}));
  icon.Images().Add(AlphaImage(32, 32, {0, 0, 255, 100}));
  TBitmap picture;
  DrawPreview(picture, icon, 16, RGB(0, 128, 0), 0, 16);
  ASSERT_EQ(picture.Width(), 16);
  EXPECT_EQ(picture.Format(), PixelFormat::Bits24);
  EXPECT_EQ(picture.GetPixel(0, 0), RGB(0, 128, 0));
  EXPECT_EQ(picture.GetPixel(1, 0), RGB(255, 0, 0));
  DrawPreview(picture, icon, 32, RGB(0, 128, 0), 0, 32);
  ASSERT_EQ(picture.Width(), 32);
  EXPECT_EQ(picture.GetPixel(5, 5), RGB(100, 128 - 50, 0));
  DrawPreview(picture, TAdvancedIcon(), 32, clWhite, 0, 32);
  EXPECT_TRUE(picture.Empty());
}

TEST(DrawingTest, ImagesWithoutPixelsDrawNothing) {
  TSubIcon empty;
  TBitmap canvas = Canvas(8, 8), untouched = canvas;
  DrawMasked(canvas, 0, 0, clWhite, empty);
  DrawFitted(canvas, 0, 0, true, true, clWhite, empty, 8, 8);
  DrawStretched(canvas, 0, 0, clWhite, empty, 8, 8);
  auto image = MaskedImage(4, 4, clBlack);
  DrawFitted(canvas, 0, 0, true, true, clWhite, *image, 0, 8);
  DrawAlpha(canvas, -100, 0, clWhite, *image, 8, 8);  // entirely outside
  EXPECT_EQ(canvas, untouched);
}

TEST(HiResIconTest, ReportsTheImageSize) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/sample.ico");
  THiResIcon blank;
  EXPECT_EQ(blank.Width(), kSystemIconSize);
  EXPECT_EQ(blank.Height(), kSystemIconSize);
  TAdvancedIcon icon;
  ASSERT_TRUE(icon.LoadFromFile(test::CorpusPath("ico/sample.ico")));  // 23 x 42
  std::unique_ptr<THiResIcon> graphic = icon.Images()[0]->CreateIcon();
  ASSERT_TRUE(graphic);
  EXPECT_EQ(graphic->Width(), 23);
  EXPECT_EQ(graphic->Height(), 42);
  TBitmap canvas = Canvas(30, 50), expected = Canvas(30, 50);
  graphic->Draw(canvas, {3, 4, 0, 0});
  icon.Images()[0]->Draw(expected, 3, 4);
  EXPECT_EQ(canvas, expected);
  EXPECT_FALSE(TSubIcon().CreateIcon());
}

}  // namespace
}  // namespace varnel

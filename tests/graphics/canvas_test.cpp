#include "graphics/canvas.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

std::string IndexRow(const TBitmap& bitmap, int y) {
  std::string text;
  for (int x = 0; x < bitmap.Width(); ++x) text += char('0' + bitmap.GetIndex(x, y));
  return text;
}

TEST(CanvasTest, FillRectIsClipped) {
  TBitmap bitmap(4, 3, PixelFormat::Bits1);
  FillRect(bitmap, {2, -5, 10, 2}, clWhite);
  EXPECT_EQ(IndexRow(bitmap, 0), "0011");
  EXPECT_EQ(IndexRow(bitmap, 1), "0011");
  EXPECT_EQ(IndexRow(bitmap, 2), "0000");
  FillRect(bitmap, {3, 1, 1, 2}, clWhite);  // an inverted rectangle is empty
  EXPECT_EQ(IndexRow(bitmap, 2), "0000");
}

TEST(CanvasTest, DrawMapsColoursToTheNearestPaletteEntry) {
  TBitmap source(3, 1, PixelFormat::Bits24);
  source.SetPixel(0, 0, RGB(250, 5, 5));
  source.SetPixel(1, 0, RGB(100, 100, 100));
  source.SetPixel(2, 0, RGB(250, 5, 5));
  TBitmap dest(4, 2, PixelFormat::Bits8);
  dest.SetPalette({{0, 0, 0, 0}, {0, 0, 255, 0}, {128, 128, 128, 0}, {0, 0, 200, 0}});
  Draw(dest, 1, 1, source);
  EXPECT_EQ(IndexRow(dest, 0), "0000");
  EXPECT_EQ(IndexRow(dest, 1), "0121");
  // Indexed onto indexed maps each source entry once.
  TBitmap four(2, 1, PixelFormat::Bits4);
  four.SetIndex(0, 0, 9);   // FF0000
  four.SetIndex(1, 0, 8);   // 808080
  Draw(dest, -1, 0, four);  // clipped on the left
  EXPECT_EQ(IndexRow(dest, 0), "2000");
}

TEST(CanvasTest, DrawCopiesAlphaOnlyBetween32BitBitmaps) {
  TBitmap source(2, 1, PixelFormat::Bits32);
  source.ScanLine(0)[0] = 10;
  source.ScanLine(0)[3] = 77;
  TBitmap dest(2, 1, PixelFormat::Bits32);
  Draw(dest, 0, 0, source);
  EXPECT_EQ(dest.ScanLine(0)[3], 77);
  EXPECT_EQ(dest.GetPixel(0, 0), RGB(0, 0, 10));
  TBitmap opaque(2, 1, PixelFormat::Bits24);
  opaque.Fill(clWhite);
  Draw(dest, 0, 0, opaque);
  EXPECT_EQ(dest.ScanLine(0)[3], 0);
  EXPECT_EQ(dest.GetPixel(1, 0), clWhite);
}

TEST(CanvasTest, DrawingABitmapOntoItselfReadsTheOriginal) {
  TBitmap bitmap(4, 1, PixelFormat::Bits8);
  for (int x = 0; x < 4; ++x) bitmap.SetIndex(x, 0, x + 1);
  Draw(bitmap, 1, 0, bitmap);
  EXPECT_EQ(IndexRow(bitmap, 0), "1123");
}

TEST(CanvasTest, ConvertFormatUsesTheGivenPalette) {
  TBitmap source(2, 1, PixelFormat::Bits24);
  source.SetPixel(1, 0, RGB(200, 200, 200));
  std::vector<RGBQuad> palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  TBitmap converted = ConvertFormat(source, PixelFormat::Bits8, &palette);
  EXPECT_EQ(converted.Palette(), palette);
  EXPECT_EQ(IndexRow(converted, 0), "01");
  EXPECT_EQ(ConvertFormat(source, PixelFormat::Bits4).Palette(), StandardPalette(4));
}

TEST(CanvasTest, StretchDrawTakesTheNearestPixel) {
  TBitmap source(2, 2, PixelFormat::Bits8);
  source.SetIndex(0, 0, 1);
  source.SetIndex(1, 0, 2);
  source.SetIndex(0, 1, 3);
  source.SetIndex(1, 1, 4);
  TBitmap dest(4, 4, PixelFormat::Bits8);
  StretchDraw(dest, {0, 0, 4, 4}, source);
  EXPECT_EQ(IndexRow(dest, 0), "1122");
  EXPECT_EQ(IndexRow(dest, 1), "1122");
  EXPECT_EQ(IndexRow(dest, 3), "3344");
  // Shrinking picks the pixel under each destination pixel's centre; mirrored rectangles flip.
  TBitmap wide(6, 1, PixelFormat::Bits8);
  for (int x = 0; x < 6; ++x) wide.SetIndex(x, 0, x);
  TBitmap narrow(3, 1, PixelFormat::Bits8);
  StretchDraw(narrow, {0, 0, 3, 1}, wide);
  EXPECT_EQ(IndexRow(narrow, 0), "135");
  StretchDraw(narrow, {3, 0, 0, 1}, wide);
  EXPECT_EQ(IndexRow(narrow, 0), "420");
  // Clipped at the destination's edges.
  TBitmap small(2, 2, PixelFormat::Bits8);
  StretchDraw(small, {-1, -1, 3, 3}, source);
  EXPECT_EQ(IndexRow(small, 0), "12");
  EXPECT_EQ(IndexRow(small, 1), "34");
}

TEST(CanvasTest, BlendingMixesByTheSourceAlpha) {
  TBitmap source(3, 1, PixelFormat::Bits32);
  uint8_t* p = source.ScanLine(0);
  p[0] = 200, p[3] = 255;              // opaque blue 200
  p[4] = 200, p[6] = 100, p[7] = 128;  // half-transparent
  p[8] = 255, p[9] = 255, p[11] = 0;   // fully transparent
  TBitmap dest(3, 1, PixelFormat::Bits24);
  dest.Fill(RGB(50, 60, 70));
  DrawBlended(dest, 0, 0, source);
  EXPECT_EQ(dest.GetPixel(0, 0), RGB(0, 0, 200));
  // blue 70 + 128 * (200 - 70) / 255 = 135; green 60 + 128 * -60 / 255 = 30 (truncated toward
  // zero); red 50 + 128 * 50 / 255 = 75.
  EXPECT_EQ(dest.GetPixel(1, 0), RGB(75, 30, 135));
  EXPECT_EQ(dest.GetPixel(2, 0), RGB(50, 60, 70));
  // Onto a transparent 32-bit bitmap the alpha accumulates.
  TBitmap layer(3, 1, PixelFormat::Bits32);
  DrawBlended(layer, 0, 0, source);
  EXPECT_EQ(layer.ScanLine(0)[3], 255);
  EXPECT_EQ(layer.ScanLine(0)[7], 128);
  EXPECT_EQ(layer.ScanLine(0)[11], 0);
  // A palette destination takes the nearest entry of the blended colour.
  TBitmap mono(3, 1, PixelFormat::Bits1);
  mono.Fill(clWhite);
  DrawBlended(mono, 0, 0, source);
  EXPECT_EQ(IndexRow(mono, 0), "011");
}

TEST(CanvasTest, MaskedXorFollowsTheIconTruthTable) {
  // AND 0 XOR c: c; AND 1 XOR black: screen; AND 1 XOR white: inverted screen; AND 0 XOR black:
  // black.
  TBitmap mask(4, 1, PixelFormat::Bits1);
  mask.SetIndex(1, 0, 1);
  mask.SetIndex(2, 0, 1);
  TBitmap colour(4, 1, PixelFormat::Bits24);
  colour.SetPixel(0, 0, RGB(10, 20, 30));
  colour.SetPixel(2, 0, clWhite);
  TBitmap dest(4, 1, PixelFormat::Bits32);
  dest.Fill(RGB(100, 150, 200));
  for (int x = 0; x < 4; ++x) dest.ScanLine(0)[4 * x + 3] = 50;
  DrawMaskedXor(dest, 0, 0, colour, mask);
  EXPECT_EQ(dest.GetPixel(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(dest.GetPixel(1, 0), RGB(100, 150, 200));
  EXPECT_EQ(dest.GetPixel(2, 0), RGB(155, 105, 55));
  EXPECT_EQ(dest.GetPixel(3, 0), clBlack);
  // At 32 bits the pixels the mask puts down become opaque, the kept ones keep their alpha.
  EXPECT_EQ(dest.ScanLine(0)[3], 255);
  EXPECT_EQ(dest.ScanLine(0)[4 + 3], 50);
  EXPECT_EQ(dest.ScanLine(0)[12 + 3], 255);
}

TEST(CanvasTest, MaskedXorOnAPaletteWorksOnIndices) {
  TBitmap mask(3, 1, PixelFormat::Bits1);
  mask.SetIndex(1, 0, 1);
  mask.SetIndex(2, 0, 1);
  TBitmap colour(3, 1, PixelFormat::Bits1);
  colour.SetIndex(0, 0, 1);
  colour.SetIndex(2, 0, 1);
  TBitmap dest(5, 1, PixelFormat::Bits1);
  dest.SetIndex(1, 0, 1);
  dest.SetIndex(2, 0, 1);
  dest.SetIndex(3, 0, 1);
  DrawMaskedXor(dest, 1, 0, colour, mask);
  EXPECT_EQ(IndexRow(dest, 0), "01100");
}

}  // namespace
}  // namespace varnel

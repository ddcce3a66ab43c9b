// Writing images as pictures, composing them on a colour, and colourising.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/jpegcodec.h"
#include "graphics/pngcodec.h"
#include "icons/colorize.h"
#include "icons/maskbits.h"
#include "icons/picturewriters.h"
#include "icons/rasterpictures.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::TempDir;

TBitmap Filled(int size, PixelFormat format, TColor color) {
  TBitmap bitmap(size, size, format);
  bitmap.Fill(color);
  return bitmap;
}

TEST(Colorize, BlackStaysBlackWhiteStaysWhiteMidGreyTakesTheColour) {
  TColor color = RGB(200, 40, 90);
  EXPECT_EQ(ColorizedColor(clBlack, color), clBlack);
  EXPECT_EQ(ColorizedColor(clWhite, color), clWhite);
  EXPECT_EQ(ColorizedColor(RGB(127, 127, 128), color), color);          // 382
  EXPECT_EQ(ColorizedColor(RGB(64, 63, 64), color), RGB(100, 20, 45));  // 191: half way

  TBitmap indexed(2, 1, PixelFormat::Bits8);
  indexed.SetPalette({RGBQuad::FromColor(clBlack), RGBQuad::FromColor(RGB(127, 127, 128))});
  ColorizeBitmap(indexed, color);
  EXPECT_EQ(indexed.Palette()[1].ToColor(), color);
  TBitmap rgba = Filled(2, PixelFormat::Bits32, clWhite);
  rgba.ScanLine(0)[3] = 77;
  ColorizeBitmap(rgba, color);
  EXPECT_EQ(rgba.ScanLine(0)[3], 77);  // alpha kept
}

TEST(Colorize, IconImagesKeepSizeMaskAndHotSpot) {
  TAdvancedIcon icon;
  TBitmap mask(4, 4, PixelFormat::Bits1);
  SetMaskBit(mask, 0, 0);
  icon.Images().AddFromBitmap(Filled(4, PixelFormat::Bits24, RGB(127, 127, 128)), &mask, 0);
  icon.Images()[0]->SetHotSpot(0x00020001);
  ColorizeIcon(icon, RGB(0, 0, 255));
  TBitmap colors, newMask;
  icon.Images()[0]->GetBitmaps(nullptr, &colors, clNone, &newMask);
  EXPECT_EQ(colors.GetPixel(2, 2), RGB(0, 0, 255));
  EXPECT_TRUE(MaskBitSet(newMask, 0, 0));
  EXPECT_EQ(icon.Images()[0]->HotSpot(), 0x00020001u);
}

TEST(PictureWriters, JpegAndPngFilesDecodeToTheBitmap) {
  TempDir dir;
  TBitmap picture = Filled(16, PixelFormat::Bits32, RGB(10, 200, 30));
  SaveBitmapAsPng(picture, dir.File("a.png"));
  EXPECT_EQ(DecodePng(ReadWholeFile(dir.File("a.png"))).GetPixel(3, 3), RGB(10, 200, 30));
  SaveBitmapAsJpeg(picture, 300, dir.File("a.jpg"));  // quality clamped, not refused
  TBitmap jpeg = DecodeJpeg(ReadWholeFile(dir.File("a.jpg")));
  EXPECT_EQ(jpeg.Width(), 16);
  EXPECT_LT(ColorDistance(jpeg.GetPixel(8, 8), RGB(10, 200, 30)), 30);
  EXPECT_THROW(SaveBitmapAsJpeg(TBitmap(), 90, dir.File("b.jpg")), EInvalidGraphic);
}

TEST(PictureWriters, TransparentPixelsOfIndexedImagesTakeASpareEntry) {
  TBitmap colors(4, 4, PixelFormat::Bits4);
  colors.SetPalette(StandardPalette(4));
  TBitmap mask(4, 4, PixelFormat::Bits1);
  SetMaskBit(mask, 1, 1);
  TAdvancedIcon icon;
  icon.Images().AddFromBitmap(colors, &mask, 0);
  TColor back = RGB(1, 2, 3);
  TBitmap onColor = ImageToBitmapOnColor(*icon.Images()[0], back);
  EXPECT_EQ(onColor.Format(), PixelFormat::Bits4);
  EXPECT_EQ(onColor.GetPixel(1, 1), back);
  EXPECT_EQ(onColor.GetPixel(2, 2), clBlack);
  // A colour of the palette: composed instead.
  EXPECT_EQ(ImageToBitmapOnColor(*icon.Images()[0], clWhite).GetPixel(1, 1), clWhite);
}

TEST(PictureWriters, XpmExportOfIndexMinusOneChoosesTheLargestImage) {
  TAdvancedIcon icon;
  for (int size : {16, 32, 256})
    icon.Images().AddFromBitmap(Filled(size, PixelFormat::Bits32, 0), nullptr, 0);
  ASSERT_TRUE(ExportedImage(icon, -1));
  EXPECT_EQ(ExportedImage(icon, -1)->ImageWidth(), 256);
  EXPECT_EQ(ExportedImage(icon, 0)->ImageWidth(), 16);
  EXPECT_EQ(ExportVariableName("/tmp/some.dir/my_icon.xpm"), "my_icon");
  test::TempDir dir;
  std::string path = dir.Path() + "/my_icon.xpm";
  ExportXpm(icon, -1, 80, path);
  TSubIconList read;
  int height = 0, width = 0;
  ASSERT_TRUE(LoadRasterPictureFile(read, path, true, height, width));
  EXPECT_EQ(width, 256);
  EXPECT_EQ(height, 256);
  EXPECT_NE(test::FileText(path).find("my_icon"), std::string::npos);
}

}  // namespace
}  // namespace varnel

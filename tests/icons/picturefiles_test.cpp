// Picture files read into icon images: data URIs, the size limit, masks from two drawings,
// vector drawings, and bringing pictures to a size in their own pixel format.

#include <gtest/gtest.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "graphics/vectordrawing.h"
#include "icons/backgroundmask.h"
#include "icons/bitmapfix32.h"
#include "icons/datauri.h"
#include "icons/imagefileloader.h"
#include "icons/maskbits.h"
#include "icons/picturesizing.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::TempDir;
using test::WriteText;

// A w x h RGBA picture, opaque red with a transparent left column.
TBitmap RedPicture(int w, int h) {
  TBitmap picture(w, h, PixelFormat::Bits32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = picture.ScanLine(y) + 4 * x;
      p[2] = 255, p[3] = x == 0 ? 0 : 255;
    }
  return picture;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    size_t left = bytes.size() - i;
    uint32_t n = uint32_t(bytes[i]) << 16 | (left > 1 ? uint32_t(bytes[i + 1]) << 8 : 0) |
                 (left > 2 ? bytes[i + 2] : 0);
    text += kAlphabet[(n >> 18) & 63];
    text += kAlphabet[(n >> 12) & 63];
    text += left > 1 ? kAlphabet[(n >> 6) & 63] : '=';
    text += left > 2 ? kAlphabet[n & 63] : '=';
  }
  return text;
}

class PictureFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterBitmapFix32();
    RegisterPictureReaders();
  }
  TempDir dir;
};

// --- data URIs ---

TEST_F(PictureFiles, DataUriAcceptsPngOnFirstAndFurtherLinesAndRefusesSvg) {
  std::string data = Base64(EncodePng(RedPicture(8, 6)));
  std::string split = data.substr(0, 10) + "\n" + data.substr(10, 30) + "\r\n\n" + data.substr(40);
  TAdvancedIcon icon;
  WriteText(dir.File("a.b64"), "  data:image/png;base64," + split + "\n");
  LoadDataUriFile(dir.File("a.b64"), 96, icon);
  ASSERT_EQ(icon.Images().Count(), 1);
  EXPECT_EQ(icon.Images()[0]->ImageWidth(), 8);
  EXPECT_EQ(icon.Images()[0]->ImageHeight(), 6);

  WriteText(dir.File("b.b64"), "data:image/svg+xml;base64," + data);
  LoadDataUriFile(dir.File("b.b64"), 96, icon);
  WriteText(dir.File("c.b64"), "data:text/plain;base64," + data);
  LoadDataUriFile(dir.File("c.b64"), 96, icon);
  EXPECT_EQ(icon.Images().Count(), 1);
}

TEST_F(PictureFiles, DataUriEscapesDecodeAsTheUnescapedText) {
  std::string data = Base64(EncodePng(RedPicture(5, 5)));
  auto decode = [](const std::string& text) {
    return DecodeDataUriText(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  };
  auto plain = decode("data:image/png;base64," + data);
  ASSERT_TRUE(plain);
  std::string escaped = "data:image%2Fpng;base64%2C" + data.substr(0, 12) + "%0A%20" +
                        data.substr(12, 20) + "%250A" + data.substr(32);
  EXPECT_EQ(decode(escaped), plain);
  // Padding ends the decoding of its block: trailing garbage after "=" is ignored.
  EXPECT_EQ(decode("data:image/png;base64," + data + "=!!garbage"), plain);
  EXPECT_THROW(decode("data:image/png;base64,%zz" + data), Exception);
  EXPECT_FALSE(decode("data:image/png;base64,QUJD"));  // three bytes are too few
}

// --- the size limit and the registry path ---

TEST_F(PictureFiles, LargePicturesAreReportedButNotAddedWithoutAllowLarge) {
  WriteFileAtomic(dir.File("wide.png"), EncodePng(RedPicture(300, 200)));
  WriteFileAtomic(dir.File("square.png"), EncodePng(RedPicture(256, 256)));
  TAdvancedIcon icon;
  int width = 0, height = 0;
  LoadImageFile(icon, dir.File("wide.png"), false, height, width);
  EXPECT_EQ(icon.Images().Count(), 0);
  EXPECT_EQ(width, 300);
  EXPECT_EQ(height, 200);
  LoadImageFile(icon, dir.File("square.png"), false, height, width);
  EXPECT_EQ(icon.Images().Count(), 1);
  LoadImageFile(icon, dir.File("wide.png"), true, height, width);
  ASSERT_EQ(icon.Images().Count(), 2);
  EXPECT_EQ(icon.Images()[1]->ImageWidth(), 300);
  EXPECT_THROW(LoadImageFile(icon, dir.File("none.unknownext"), false, height, width),
               EInvalidGraphic);
}

TEST_F(PictureFiles, GraphicsGetTheirMaskFromDrawingsOnBlackAndWhite) {
  TBitmap picture = RedPicture(4, 2);
  picture.ScanLine(1)[4 * 3 + 3] = 128;  // half transparent: differs between the drawings
  TBitmap onBlack = DrawnOnBackground(picture, clBlack);
  TBitmap mask = MaskFromBackgrounds(onBlack, DrawnOnBackground(picture, clWhite));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      bool transparent = x == 0 || (x == 3 && y == 1);
      EXPECT_EQ(MaskBitSet(mask, x, y), transparent) << x << "," << y;
      EXPECT_EQ(onBlack.GetPixel(x, y), transparent ? clBlack : RGB(255, 0, 0));
    }
  // Only green differing (not red as well) keeps the pixel opaque.
  TBitmap black(1, 1, PixelFormat::Bits24), white(1, 1, PixelFormat::Bits24);
  black.SetPixel(0, 0, RGB(10, 20, 30));
  white.SetPixel(0, 0, RGB(10, 99, 30));
  EXPECT_FALSE(MaskBitSet(MaskFromBackgrounds(black, white), 0, 0));
}

TEST_F(PictureFiles, SizedPicturesKeepTheirProportionsInsideTheTarget) {
  WriteFileAtomic(dir.File("wide.png"), EncodePng(RedPicture(300, 100)));
  TAdvancedIcon icon;
  LoadImageFileSized(icon, dir.File("wide.png"), 30, false, 30);
  LoadImageFileResampled(icon, dir.File("wide.png"), {30, 30, 5, 80, true});
  ASSERT_EQ(icon.Images().Count(), 2);
  for (int i = 0; i < 2; ++i) {
    TBitmap composite;
    icon.Images()[i]->GetBitmaps(&composite, nullptr, clWhite, nullptr);
    EXPECT_EQ(composite.GetPixel(15, 2), clWhite) << i;  // above the 30 x 10 band
    EXPECT_EQ(composite.GetPixel(15, 15), RGB(255, 0, 0)) << i;
  }
}

// --- vector drawings ---

std::string SvgText(int w, int h) {
  return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         std::to_string(w) + "\" height=\"" + std::to_string(h) +
         "\"><rect x=\"0\" y=\"0\" width=\"" + std::to_string(w / 2) + "\" height=\"" +
         std::to_string(h) + "\" fill=\"#00ff00\"/></svg>";
}

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST_F(PictureFiles, SvgDrawsAtItsOwnSizeAndHugeDrawingsAreRefused) {
  TBitmap drawing = RenderDrawing(Bytes(SvgText(20, 10)), DrawingFormat::Svg);
  ASSERT_EQ(drawing.Width(), 20);
  ASSERT_EQ(drawing.Height(), 10);
  EXPECT_EQ(drawing.ScanLine(5)[4 * 2 + 1], 255);  // green, opaque
  EXPECT_EQ(drawing.ScanLine(5)[4 * 2 + 3], 255);
  EXPECT_EQ(drawing.ScanLine(5)[4 * 15 + 3], 0);  // right half transparent
  EXPECT_THROW(RenderDrawing(Bytes(SvgText(20000, 10)), DrawingFormat::Svg), EInvalidGraphic);
  EXPECT_THROW(RenderDrawing(Bytes(SvgText(16000, 16000)), DrawingFormat::Svg), EInvalidGraphic);
  EXPECT_THROW(RenderDrawing(Bytes("<svg"), DrawingFormat::Svg), EInvalidGraphic);
  WriteText(dir.File("huge.svg"), SvgText(10, 40000));
  TAdvancedIcon icon;
  int width = 0, height = 0;
  EXPECT_THROW(LoadImageFile(icon, dir.File("huge.svg"), false, height, width), EInvalidGraphic);
}

TEST_F(PictureFiles, SizedDrawingsFillTheTargetOnlyWithoutProportions) {
  WriteText(dir.File("wide.svg"), SvgText(40, 20));  // left half green
  TAdvancedIcon icon;
  LoadImageFileResampled(icon, dir.File("wide.svg"), {16, 16, 0, 80, true});
  LoadImageFileResampled(icon, dir.File("wide.svg"), {16, 16, 5, 80, false});
  ASSERT_EQ(icon.Images().Count(), 2);
  TBitmap kept, stretched;
  icon.Images()[0]->GetBitmaps(&kept, nullptr, clWhite, nullptr);
  icon.Images()[1]->GetBitmaps(&stretched, nullptr, clWhite, nullptr);
  EXPECT_EQ(kept.GetPixel(3, 1), clWhite);  // above the 16 x 8 band
  EXPECT_EQ(kept.GetPixel(3, 8), RGB(0, 255, 0));
  EXPECT_EQ(stretched.GetPixel(3, 1), RGB(0, 255, 0));
  EXPECT_EQ(stretched.GetPixel(12, 8), clWhite);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::vector<uint8_t>*>(closure)->insert(
      static_cast<std::vector<uint8_t>*>(closure)->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// A one-page PDF of 72 x 36 points, its left half blue.
std::vector<uint8_t> MakePdf() {
  std::vector<uint8_t> pdf;
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(AppendBytes, &pdf, 72, 36);
  cairo_t* context = cairo_create(surface);
  cairo_set_source_rgb(context, 0, 0, 1);
  cairo_rectangle(context, 0, 0, 36, 36);
  cairo_fill(context);
  cairo_destroy(context);
  cairo_surface_destroy(surface);
  return pdf;
}

TEST_F(PictureFiles, PdfPagesDrawThroughTheBuiltInRenderer) {
  WriteFileAtomic(dir.File("page.pdf"), MakePdf());
  TAdvancedIcon icon;
  int width = 0, height = 0;
  LoadImageFile(icon, dir.File("page.pdf"), false, height, width);
  ASSERT_EQ(icon.Images().Count(), 1);
  EXPECT_EQ(width, 96);  // 72 points at 96 pixels an inch
  EXPECT_EQ(height, 48);
  TBitmap composite;
  icon.Images()[0]->GetBitmaps(&composite, nullptr, clWhite, nullptr);
  EXPECT_EQ(composite.GetPixel(10, 20), RGB(0, 0, 255));
  EXPECT_EQ(composite.GetPixel(80, 20), clWhite);
  LoadImageFileResampled(icon, dir.File("page.pdf"), {32, 32, 5, 80, true});
  ASSERT_EQ(icon.Images().Count(), 2);
  EXPECT_EQ(icon.Images()[1]->ImageWidth(), 32);
}

// --- bringing pictures to a size in their own format ---

TEST_F(PictureFiles, TargetRectangleCentresTheProportions) {
  TRect wide = TargetRectangle(300, 100, true, 48, 48);
  EXPECT_EQ(wide.left, 0);
  EXPECT_EQ(wide.right, 48);
  EXPECT_EQ(wide.top, 16);
  EXPECT_EQ(wide.bottom, 32);
  TRect thin = TargetRectangle(1, 1000, true, 16, 16);
  EXPECT_EQ(thin.Width(), 1);  // an empty side is widened to one pixel
  EXPECT_EQ(TargetRectangle(300, 100, false, 48, 48).Height(), 48);
}

TEST_F(PictureFiles, SizedBitmapsKeepTheirPixelFormat) {
  TBitmap indexed(40, 20, PixelFormat::Bits8);
  std::vector<RGBQuad> palette(16);
  palette[3] = RGBQuad::FromColor(RGB(0, 128, 255));
  indexed.SetPalette(palette);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) indexed.SetIndex(x, y, 3);
  TBitmap rgb = ConvertFormat(indexed, PixelFormat::Bits24);
  TBitmap mono(40, 20, PixelFormat::Bits1);
  TSubIconList images;
  AddBitmapSized(images, indexed, nullptr, 0, 80, true, 16, 16);
  AddBitmapSized(images, rgb, nullptr, 5, 80, true, 16, 16);
  AddBitmapSized(images, mono, nullptr, 0, 80, true, 16, 16);
  AddBitmapSized(images, RedPicture(40, 20), nullptr, 5, 80, false, 16, 16);
  ASSERT_EQ(images.Count(), 4);
  int depths[] = {8, 24, 1, 32};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(images[i]->BitsPerPixel(), depths[i]) << i;
    EXPECT_EQ(images[i]->ImageWidth(), 16) << i;
  }
  TBitmap colors, mask;
  images[0]->GetBitmaps(nullptr, &colors, clNone, &mask);
  EXPECT_EQ(colors.GetPixel(8, 8), RGB(0, 128, 255));
  EXPECT_TRUE(MaskBitSet(mask, 8, 1));  // outside the 16 x 8 band
  EXPECT_FALSE(MaskBitSet(mask, 8, 8));
}

// With a filter an 8-bit picture gets new colours between its own: its palette is reduced from
// the scaled picture, black and white first.
TEST_F(PictureFiles, FilteredIndexedPicturesTakeAReducedPalette) {
  TBitmap stripes(32, 32, PixelFormat::Bits8);
  stripes.SetPalette({RGBQuad::FromColor(RGB(255, 0, 0)), RGBQuad::FromColor(RGB(0, 0, 255))});
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) stripes.SetIndex(x, y, (x / 2) % 2);
  TSubIconList images;
  AddBitmapSized(images, stripes, nullptr, 5, 80, true, 12, 12);
  ASSERT_EQ(images.Count(), 1);
  EXPECT_EQ(images[0]->BitsPerPixel(), 8);
  TBitmap colors;
  images[0]->GetBitmaps(nullptr, &colors, clNone, nullptr);
  EXPECT_EQ(colors.Palette()[0].ToColor(), clBlack);
  EXPECT_EQ(colors.Palette()[1].ToColor(), clWhite);
  // Blended stripes: purple shades that the two-colour palette never had.
  TColor middle = colors.GetPixel(6, 6);
  EXPECT_GT(GetRValue(middle), 0);
  EXPECT_GT(GetBValue(middle), 0);
}

}  // namespace
}  // namespace varnel

#include "icons/xpmimage.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "graphics/canvas.h"
#include "icons/xpmcolors.h"
#include "magickreference.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TXPMImage ReadXpm(const std::string& text) {
  MemoryStream stream(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  TXPMImage picture;
  picture.LoadFromStream(stream);
  return picture;
}

std::string WriteXpm(const TXPMImage& picture) {
  MemoryStream stream;
  picture.SaveToStream(stream);
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

RGBQuad PixelAt(const TBitmap& bitmap, int x, int y) {
  return reinterpret_cast<const RGBQuad*>(bitmap.ScanLine(y))[x];
}

std::string Message(const std::string& text) {
  try {
    ReadXpm(text);
  } catch (const EInvalidGraphic& error) {
    return error.what();
  }
  return "";
}

TEST(XpmColorTest, NamesNumbersAndHexadecimalValues) {
  struct Case {
    const char* spec;
    RGBQuad pixel;  // blue, green, red, alpha
  } cases[] = {
      {"red3", {0, 0, 205, 255}},
      {"grey50", {128, 128, 128, 255}},
      {"gray100", {255, 255, 255, 255}},
      {"teal", {128, 128, 0, 255}},
      {"red1", {0, 0, 255, 255}},
      {"red5", {0, 0, 0, 255}},
      {"orange4", {0, 90, 139, 255}},
      {"#ffff00000000", {0, 0, 255, 255}},
      {"#0a0b0c", {12, 11, 10, 255}},
      {"nosuchcolour", {0, 0, 0, 255}},
      {"none", {0, 0, 0, 0}},
      {"", {0, 0, 0, 0}},
      {"lightgoldenrodyellow", {210, 250, 250, 255}},
  };
  for (const Case& c : cases) EXPECT_EQ(XpmColor(c.spec), c.pixel) << c.spec;
}

TEST(XpmReadTest, ColourLinesCodesAndRows) {
  // Keys after the colour, upper-case names, a line without "c " and unknown codes.
  TXPMImage picture = ReadXpm(
      "/* XPM */\nstatic char * tiny_xpm[] = {\n\"4 2 4 1\",\n\"a c red m white\",\n"
      "\"b\tc #FFFF00000000\",\n\"n c None\",\n\"s s symbolic\",\n\"abns\",\n\"ba?\"};");
  EXPECT_EQ(picture.VarName, "tiny");
  ASSERT_EQ(picture.Width(), 4);
  EXPECT_EQ(PixelAt(picture, 0, 0), (RGBQuad{0, 0, 255, 255}));
  EXPECT_EQ(PixelAt(picture, 1, 0), (RGBQuad{0, 0, 255, 255}));
  EXPECT_EQ(PixelAt(picture, 2, 0), RGBQuad{});
  EXPECT_EQ(PixelAt(picture, 3, 0), RGBQuad{});  // "s" defines no colour
  EXPECT_EQ(PixelAt(picture, 2, 1), RGBQuad{});  // unknown code, short row
  EXPECT_EQ(PixelAt(picture, 3, 1), RGBQuad{});
}

TEST(XpmReadTest, CommentsAreRemovedButCodesThatLookLikeCommentsStay) {
  TXPMImage picture = ReadXpm(
      "/* XPM */\nstatic char *x[] = {\n/* values */\n\"2 1 2 1\",\n\"/ c blue\",\n"
      "\"* c white\",\n/* pixels */\n\"/*\"\n};");
  EXPECT_EQ(PixelAt(picture, 0, 0), (RGBQuad{255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(picture, 1, 0), (RGBQuad{255, 255, 255, 255}));
}

TEST(XpmReadTest, BadHeadersGiveTheirMessages) {
  EXPECT_EQ(Message("static char *x[] = {};"), "Invalid XPM image data, err. 1");
  EXPECT_EQ(Message("no brace at all"), "Invalid XPM image data, err. 1");
  EXPECT_EQ(Message("x = {\"0 1 1 1\",\"a c red\",\"\"};"), "Invalid XPM image data, err. 2");
  EXPECT_EQ(Message("x = {\"1 1 1 5\",\"a c red\",\"a\"};"), "Invalid XPM image data, err. 2");
  EXPECT_EQ(Message("x = {\"1 65536 1 1\",\"a c red\",\"a\"};"), "Invalid XPM image data, err. 2");
  // Sizes no text of this length can hold are refused before the picture is made.
  EXPECT_EQ(Message("x = {\"60000 60000 1 1\",\"a c red\",\"a\"};"),
            "Invalid XPM image data, err. 2");
}

TEST(XpmReadTest, ThreeThreeTwoThumbnails) {
  std::string text = "P7 332\n#IMGINFO:2x1 RGB\n#END_OF_COMMENTS\n2 1 255\n";
  text += char(0xE0);
  text += char(0x1F);
  TXPMImage picture = ReadXpm(text);
  ASSERT_EQ(picture.Width(), 2);
  EXPECT_EQ(PixelAt(picture, 0, 0), (RGBQuad{0, 0, 255, 255}));
  EXPECT_EQ(PixelAt(picture, 1, 0), (RGBQuad{255, 255, 0, 255}));
  EXPECT_EQ(Message("P7 332\n2 1 255\nab"), "#END_OF_COMMENTS: not found");
  EXPECT_EQ(Message("P7 332\n#END_OF_COMMENTS:\n9 9 255\nab"), "Invalid XPM image data, err. 3");
}

TEST(XpmWriteTest, WritesTheExactTextAndReadsItBack) {
  TXPMImage picture;
  picture.SetSize(2, 2);
  auto* top = reinterpret_cast<RGBQuad*>(picture.ScanLine(0));
  auto* bottom = reinterpret_cast<RGBQuad*>(picture.ScanLine(1));
  top[0] = {0, 0, 0, 255};
  top[1] = {0x56, 0x34, 0x12, 255};
  bottom[1] = {255, 255, 255, 255};
  picture.VarName = "9 Lives";
  EXPECT_EQ(WriteXpm(picture),
            "/* XPM */ \nstatic const unsigned char * s9_lives_xpm[] = {\n\"2 2 4 1\",\n"
            "\" \tc None\",\n\"!\tc black\",\n\"#\tc #123456\",\n\"$\tc white\",\n"
            "\"!#\",\n\" $\"};");
  TXPMImage back = ReadXpm(WriteXpm(picture));
  EXPECT_EQ(back.VarName, "s9_lives");
  EXPECT_TRUE(static_cast<const TBitmap&>(back) == static_cast<const TBitmap&>(picture));
}

// The colour table always opens with "None" and lists the black under masked pixels, also when
// no pixel is transparent or no opaque pixel is black.
TEST(XpmWriteTest, ColourTableHoldsNoneAndTheBlackOfMaskedPixels) {
  TXPMImage masked;
  masked.SetSize(2, 1);
  reinterpret_cast<RGBQuad*>(masked.ScanLine(0))[1] = {0, 0, 255, 255};
  EXPECT_NE(WriteXpm(masked).find("\"2 1 3 1\",\n\" \tc None\",\n\"!\tc black\",\n"
                                  "\"#\tc #ff0000\",\n\" #\"};"),
            std::string::npos)
      << WriteXpm(masked);
  TXPMImage opaque;
  opaque.SetSize(1, 1);
  reinterpret_cast<RGBQuad*>(opaque.ScanLine(0))[0] = {255, 255, 255, 255};
  EXPECT_NE(WriteXpm(opaque).find("\"1 1 2 1\",\n\" \tc None\",\n\"!\tc white\",\n\"!\"};"),
            std::string::npos)
      << WriteXpm(opaque);
}

TEST(XpmWriteTest, NinetyThreeColoursTakeTwoCharactersPerPixel) {
  TXPMImage picture;
  picture.SetSize(93, 1);
  auto* row = reinterpret_cast<RGBQuad*>(picture.ScanLine(0));
  for (int x = 0; x < 93; ++x) row[x] = {uint8_t(x), 1, 2, 255};
  std::string text = WriteXpm(picture);
  EXPECT_NE(text.find("\"93 1 94 2\""), std::string::npos);
  TXPMImage back = ReadXpm(text);
  EXPECT_TRUE(static_cast<const TBitmap&>(back) == static_cast<const TBitmap&>(picture));
}

TEST(XpmWriteTest, SetFromBitmapsAppliesMaskAndThreshold) {
  TBitmap color(2, 1, PixelFormat::Bits32);
  color.ScanLine(0)[3] = 200;
  color.ScanLine(0)[7] = 50;
  color.ScanLine(0)[4] = 9;
  TXPMImage picture;
  picture.SetFromBitmaps(color, nullptr, 80);
  EXPECT_EQ(PixelAt(picture, 0, 0).reserved, 255);
  EXPECT_EQ(PixelAt(picture, 1, 0), RGBQuad{});
  TBitmap mask(2, 1, PixelFormat::Bits1);
  mask.SetIndex(0, 0, 1);
  picture.SetFromBitmaps(ConvertFormat(color, PixelFormat::Bits24), &mask, 80);
  EXPECT_EQ(PixelAt(picture, 0, 0), RGBQuad{});
  EXPECT_EQ(PixelAt(picture, 1, 0), (RGBQuad{9, 0, 0, 255}));
}

TEST(XpmCorpusTest, PixelsEqualImageMagick) {
  auto files = test::CorpusFiles("xpm", {".xpm"});
  VARNEL_SKIP_WITHOUT_FILES(files, "XPM files");
  for (const std::string& file : files) {
    if (file.find("issue-95") != std::string::npos) continue;
    SCOPED_TRACE(file);
    TXPMImage picture = ReadXpm(test::FileText(file));
    VARNEL_MAGICK_OR_SKIP(expected, file, 0);
    EXPECT_EQ(test::FirstDifference(test::RgbaOf(picture), *expected), "");
  }
}

TEST(XpmCorpusTest, HostileSizeIsRefusedAndSampleMatchesItsBitmap) {
  VARNEL_SKIP_WITHOUT_CORPUS("xpm/issue-95.xpm", "xpm/sample.xpm", "xpm/color_name.xpm");
  EXPECT_THROW(ReadXpm(test::FileText(test::CorpusPath("xpm/issue-95.xpm"))), EInvalidGraphic);
  TXPMImage names = ReadXpm(test::FileText(test::CorpusPath("xpm/color_name.xpm")));
  EXPECT_EQ(PixelAt(names, 2, 2), (RGBQuad{0, 255, 255, 255}));  // yellow, as libgd expects
}

}  // namespace
}  // namespace varnel

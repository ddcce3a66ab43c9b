#include "icons/xbmimage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/errors.h"
#include "icons/advancedicon.h"
#include "icons/rasterpictures.h"
#include "magickreference.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TXBMImage ReadXbm(const std::string& text) {
  TXBMImage picture;
  picture.LoadFromBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  return picture;
}

std::string Message(const std::string& text) {
  try {
    ReadXbm(text);
  } catch (const EInvalidGraphic& error) {
    return error.what();
  }
  return "";
}

// Rows of '#' (black) and '.' (white).
std::string Rows(const TBitmap& bitmap) {
  std::string rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) rows += bitmap.GetIndex(x, y) ? '.' : '#';
    rows += '\n';
  }
  return rows;
}

TEST(XbmReadTest, RowsBitOrderHotSpotAndName) {
  // Width 9: two bytes a row; the lowest bit is the leftmost pixel, a set bit black.
  TXBMImage picture = ReadXbm(
      "#define arrow_width 9\n#define arrow_height 2\n#define arrow_x_hot 4\n"
      "#define arrow_y_hot 1\nstatic unsigned char arrow_bits[] = {\n"
      "   0x01, 0x01, 0xfe, 0x00 /* 0x99 in a comment */ };");
  EXPECT_EQ(picture.VarName, "arrow");
  EXPECT_EQ(picture.HotSpotX, 4);
  EXPECT_EQ(picture.HotSpotY, 1);
  EXPECT_EQ(Rows(picture), "#.......#\n.#######.\n");
  EXPECT_FALSE(picture.MaskBitmap);
}

TEST(XbmReadTest, X10BitmapsHoldSixteenBitValues) {
  TXBMImage picture = ReadXbm(
      "#define x_width 17\n#define x_height 2\nstatic unsigned short x_bits[] = {\n"
      "0xffff, 0x0001, 0x0000, 0x0000};");
  EXPECT_EQ(Rows(picture), "#################\n.................\n");
}

TEST(XbmReadTest, BadFilesGiveTheirMessages) {
  EXPECT_EQ(Message(""), "Zero file");
  EXPECT_EQ(Message("#define a_width 0\n#define a_height 1\nstatic char a_bits[] = {0};"),
            "Invalid XPM image data, err. 4");
  EXPECT_EQ(Message("#define a_width 65535\n#define a_height 1\n"),
            "Invalid XPM image data, err. 4");
  EXPECT_EQ(Message("#define a_height 1\nstatic char a_bits[] = {0};"),
            "Invalid XPM image data, err. 4");
  EXPECT_EQ(Message("#define a_width 8\n#define a_height 1\nstatic char a_bits[] = {1, 2};"),
            "Invalid XPM image data, err. 5");
  // A size far beyond what the text could hold is refused before the picture is made.
  EXPECT_EQ(Message("#define a_width 60000\n#define a_height 60000\nstatic char a_bits[]={0};"),
            "Invalid XPM image data, err. 4");
}

TEST(XbmIconTest, AddToIconTakesMaskAndHotSpot) {
  TXBMImage picture = ReadXbm("#define a_width 8\n#define a_height 1\nchar a_bits[] = {0x0f};");
  TAdvancedIcon icon;
  picture.AddToIcon(icon.Images());
  ASSERT_EQ(icon.Images().Count(), 1);
  EXPECT_EQ(icon.Images()[0]->HotSpot(), 0u);  // no hot spot in the file
  picture.HotSpotX = 3;
  picture.HotSpotY = 5;
  picture.AddToIcon(icon.Images());
  EXPECT_EQ(icon.Images()[1]->HotSpot(), 3u | (5u << 16));

  TXBMImage copy;
  copy.Assign(*icon.Images()[1]);
  EXPECT_EQ(Rows(copy), Rows(picture));
  EXPECT_EQ(copy.HotSpotX, 3);
  EXPECT_EQ(copy.HotSpotY, 5);
}

TEST(XbmFileTest, WrittenFilesReadBackWithMaskHotSpotAndName) {
  test::TempDir dir;
  TXBMImage picture = ReadXbm(
      "#define a_width 10\n#define a_height 2\nchar a_bits[] = "
      "{0x0f, 0x02, 0xf0, 0x01};");
  picture.VarName = "My Cursor";
  picture.HotSpotX = 9;
  picture.HotSpotY = 0;
  TBitmap mask(10, 2, PixelFormat::Bits1);
  mask.SetIndex(0, 0, 1);
  mask.SetIndex(9, 1, 1);
  picture.MaskBitmap = mask;
  std::string path = dir.File("cursor.xbm");
  picture.SaveToFile(path);
  EXPECT_EQ(test::FileText(path).substr(0, 80),
            "#define my_cursor_width 10\n#define my_cursor_height 2\n#define my_cursor_x_hot 9\n");
  EXPECT_NE(test::FileText(path + ".mask").find("my_cursor_mask_bits[] = {"), std::string::npos);
  EXPECT_EQ(test::FileText(path).substr(test::FileText(path).size() - 3), "\n};");

  TXBMImage back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.VarName, "my_cursor");
  EXPECT_EQ(Rows(back), Rows(picture));
  ASSERT_TRUE(back.MaskBitmap);
  EXPECT_EQ(Rows(*back.MaskBitmap), Rows(mask));
  EXPECT_EQ(back.HotSpotX, 9);
  EXPECT_EQ(back.HotSpotY, 0);

  // A fully opaque mask leaves no mask file behind, not even the one written before.
  picture.MaskBitmap = TBitmap(10, 2, PixelFormat::Bits1);
  picture.SaveToFile(path);
  EXPECT_FALSE(std::filesystem::exists(path + ".mask"));
}

TEST(XbmFileTest, TwelveBytesALine) {
  test::TempDir dir;
  TXBMImage picture = ReadXbm("#define a_width 8\n#define a_height 13\nchar a_bits[] = {255};");
  picture.SaveToFile(dir.File("a.xbm"));
  std::string text = test::FileText(dir.File("a.xbm"));
  std::string first = text.substr(text.find("{\n") + 2,
                                  text.find('\n', text.find("{\n") + 2) - text.find("{\n") - 2);
  EXPECT_EQ(first, "  0xff,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,");
  EXPECT_NE(text.find("\n  0x00\n};"), std::string::npos);
}

TEST(XbmCorpusTest, CorpusAndSystemBitmapsEqualImageMagick) {
  std::vector<std::string> files = test::CorpusFiles("xbm", {".xbm"});
  std::error_code error;
  std::vector<std::string> system;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/include/X11/bitmaps", error))
    system.push_back(entry.path().string());
  std::sort(system.begin(), system.end());
  files.insert(files.end(), system.begin(), system.end());
  VARNEL_SKIP_WITHOUT_FILES(files, "XBM files");
  int compared = 0, sampled = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    TXBMImage picture;
    picture.LoadFromFile(file);
    TAdvancedIcon icon;
    picture.AddToIcon(icon.Images());
    // Every file is read; ImageMagick, slow to start, checks the corpus and every fifth other.
    if (&file - files.data() >= ptrdiff_t(files.size() - system.size()) && ++sampled % 5) continue;
    auto expected = test::MagickPicture(file);
    if (!expected) continue;
    ++compared;
    EXPECT_EQ(test::FirstDifference(test::RgbaOf(picture), *expected), "");
  }
  if (!compared) GTEST_SKIP() << "ImageMagick decodes none of the files";
}

TEST(XbmCorpusTest, HotSpotsOfTheSamples) {
  VARNEL_SKIP_WITHOUT_CORPUS("xbm/valid.1.xbm", "xbm/x10_basic_read.xbm");
  TXBMImage picture;
  picture.LoadFromFile(test::CorpusPath("xbm/valid.1.xbm"));
  EXPECT_EQ(picture.HotSpotX, 10);
  EXPECT_EQ(picture.HotSpotY, 10);
  picture.LoadFromFile(test::CorpusPath("xbm/x10_basic_read.xbm"));
  std::string full(17, '#'), clear(17, '.');
  EXPECT_EQ(Rows(picture), full + "\n" + clear + "\n" + full + "\n");  // as libgd expects
}

TEST(XbmExportTest, ImagesWrittenAsXbmAndXpmReadBack) {
  test::TempDir dir;
  TBitmap color(3, 2, PixelFormat::Bits32);
  for (int x = 0; x < 3; ++x) reinterpret_cast<RGBQuad*>(color.ScanLine(0))[x] = {0, 0, 0, 255};
  TAdvancedIcon icon;
  icon.Images().AddFromBitmap(color, nullptr, 0);
  WriteXbmFile(*icon.Images()[0], int32_t(1 | (2 << 16)), dir.File("Two Rows.xbm"));
  TXBMImage back;
  back.LoadFromFile(dir.File("Two Rows.xbm"));
  EXPECT_EQ(back.VarName, "two_rows");
  EXPECT_EQ(back.HotSpotX, 1);
  EXPECT_EQ(back.HotSpotY, 2);
  ASSERT_TRUE(back.MaskBitmap);
  EXPECT_EQ(Rows(*back.MaskBitmap), "###\n...\n");
  WriteXbmFile(*icon.Images()[0], -1, dir.File("none.xbm"));
  EXPECT_EQ(test::FileText(dir.File("none.xbm")).find("_x_hot"), std::string::npos);
}

}  // namespace
}  // namespace varnel

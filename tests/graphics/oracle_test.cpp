// Decoded pixels compared with what ImageMagick makes of the same corpus files (skipped where
// ImageMagick is not installed).

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "graphics/bmpcodec.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"
#include "support/imagemagick.h"

namespace varnel {
namespace {

constexpr const char* kConvert = test::kImageMagickConvert;

// The RGBA bytes ImageMagick decodes from a file, top row first.
std::vector<uint8_t> ConvertToRgba(const std::string& path) {
  return test::ImageMagickRgba(path);
}

// Compares colours (and alpha when withAlpha is set) pixel by pixel.
// ImageMagick scales 16-bit samples where the decoder keeps their high byte: those may differ
// by one.
void ExpectSamePixels(const TBitmap& bitmap, const std::vector<uint8_t>& rgba, bool withAlpha,
                      int tolerance) {
  ASSERT_EQ(rgba.size(), size_t(bitmap.Width()) * bitmap.Height() * 4);
  int different = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint8_t* expected = &rgba[(size_t(y) * bitmap.Width() + x) * 4];
      TColor color = bitmap.GetPixel(x, y);
      auto near = [&](int a, int b) { return std::abs(a - b) <= tolerance; };
      bool same = near(GetRValue(color), expected[0]) && near(GetGValue(color), expected[1]) &&
                  near(GetBValue(color), expected[2]);
      if (withAlpha) same = same && near(bitmap.ScanLine(y)[4 * x + 3], expected[3]);
      if (!same && different++ < 3)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << color << " against "
                      << int(expected[0]) << " " << int(expected[1]) << " " << int(expected[2]);
    }
  EXPECT_EQ(different, 0);
}

class OracleTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  }
};

TEST_F(OracleTest, BmpCorpusDecodesAsImageMagickDoes) {
  std::vector<std::string> files = test::CorpusFiles("bmp", {".bmp"});
  VARNEL_SKIP_WITHOUT_FILES(files, "corpus BMP files");
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    TBitmap bitmap =
        LoadBmp(test::ReadCorpusFile(std::filesystem::relative(path, test::CorpusDir()).string()));
    bool alpha = path.ends_with("rgba32.bmp");
    ExpectSamePixels(bitmap, ConvertToRgba(path), alpha, 0);
  }
}

TEST_F(OracleTest, PngCorpusDecodesAsImageMagickDoes) {
  std::vector<std::string> files = test::CorpusFiles("png", {".png"});
  VARNEL_SKIP_WITHOUT_FILES(files, "corpus PNG files");
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    TBitmap bitmap = DecodePngRgba(
        test::ReadCorpusFile(std::filesystem::relative(path, test::CorpusDir()).string()));
    bool sixteenBit = path.find("16.png") != std::string::npos;
    ExpectSamePixels(bitmap, ConvertToRgba(path), true, sixteenBit ? 1 : 0);
  }
}

}  // namespace
}  // namespace varnel

// LoadPngFile's colour bitmap and mask against ImageMagick's decoding of the same files: the
// corpus PNGs and a sample of the icon themes' PNGs (skipped without ImageMagick).

#include <gtest/gtest.h>

#include <filesystem>

#include "icons/maskbits.h"
#include "icons/pngpicture.h"
#include "support/corpus.h"
#include "support/imagemagick.h"

namespace varnel {
namespace {

using test::ImageMagickRgba;

constexpr const char* kConvert = test::kImageMagickConvert;
constexpr int kThreshold = 80;
constexpr size_t kThemeSample = 60;

// Every step-th PNG of the themes, up to kThemeSample files.
std::vector<std::string> ThemePngs() {
  std::vector<std::string> all;
  for (const char* theme : {"/usr/share/icons/Adwaita", "/usr/share/icons/hicolor"}) {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(theme, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
      if (it->path().extension() == ".png") all.push_back(it->path().string());
  }
  std::sort(all.begin(), all.end());
  std::vector<std::string> sample;
  size_t step = std::max<size_t>(1, all.size() / kThemeSample);
  for (size_t i = 0; i < all.size(); i += step) sample.push_back(all[i]);
  return sample;
}

// Masked exactly where ImageMagick's alpha is below the threshold; unmasked pixels of ImageMagick's
// colour (16-bit samples, whose high byte is kept, may differ by one).
void ExpectSameAsImageMagick(const std::string& file) {
  SCOPED_TRACE(file);
  TBitmap color, mask;
  LoadPngFile(file, kThreshold, color, mask);
  std::vector<uint8_t> rgba = ImageMagickRgba(file);
  ASSERT_EQ(rgba.size(), size_t(color.Width()) * color.Height() * 4);
  int different = 0;
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      const uint8_t* expected = &rgba[(size_t(y) * color.Width() + x) * 4];
      bool masked = expected[3] < kThreshold;
      TColor got = color.GetPixel(x, y);
      auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
      bool same =
          MaskBitSet(mask, x, y) == masked &&
          (masked || (near(GetRValue(got), expected[0]) && near(GetGValue(got), expected[1]) &&
                      near(GetBValue(got), expected[2])));
      if (!same && different++ < 3) ADD_FAILURE() << "pixel " << x << "," << y;
    }
}

TEST(PngOracle, CorpusAndThemePngsDecodeAsImageMagickDecodesThem) {
  if (!std::filesystem::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  std::vector<std::string> files = test::CorpusFiles("png", {".png"});
  std::vector<std::string> themes = ThemePngs();
  files.insert(files.end(), themes.begin(), themes.end());
  VARNEL_SKIP_WITHOUT_FILES(files, "PNG files");
  for (const std::string& file : files) ExpectSameAsImageMagick(file);
}

}  // namespace
}  // namespace varnel

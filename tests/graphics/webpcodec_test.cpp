// WebP files that Pillow writes (skipped without Pillow's WebP support) read pixel for pixel as
// Pillow reads them, and lossless files written here read back in Pillow as they were.

#include "graphics/webpcodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

bool HavePillowWebp() {
  std::string check = std::string(kPython) +
                      " -c \"from PIL import features; assert features.check('webp_anim')\" "
                      ">/dev/null 2>&1";
  return std::system(check.c_str()) == 0;
}

// Runs a Pillow script in folder; its failure fails the test.
void RunPillow(const std::string& folder, const std::string& script) {
  test::ProcessResult result = test::RunCommand("cd '" + folder + "' && " + kPython + " -c \"" +
                                                "from PIL import Image\n" + script + "\" 2>&1");
  ASSERT_EQ(result.status, 0) << result.out;
}

// The picture's pixels as RGBA bytes, top row first, as Pillow's tobytes() gives them.
std::vector<uint8_t> RgbaOf(const TBitmap& picture) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const uint8_t* bgra = picture.ScanLine(y) + 4 * x;
      rgba.insert(rgba.end(), {bgra[2], bgra[1], bgra[0], bgra[3]});
    }
  return rgba;
}

TEST(WebpCodecTest, PillowFilesReadAndWrittenFilesReadInPillow) {
  if (!HavePillowWebp()) GTEST_SKIP() << "Pillow with WebP support (python3-pil) is missing";
  std::string png = test::CorpusPath("png/basn6a08.png");
  if (!std::filesystem::exists(png)) GTEST_SKIP() << "corpus picture png/basn6a08.png is missing";
  test::TempDir dir;
  RunPillow(dir.Path(),
            "im = Image.open('" + png +
                "').convert('RGBA')\n"
                "im.save('lossless.webp', lossless=True, exact=True)\n"
                "open('lossless.rgba', 'wb').write(Image.open('lossless.webp').tobytes())\n"
                "im.convert('RGB').save('lossy.webp', quality=80)\n"
                "frames = [Image.new('RGBA', (24, 20), c) for c in "
                "[(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0)]]\n"
                "frames[0].save('anim.webp', save_all=True, append_images=frames[1:], "
                "duration=[100, 250, 40], lossless=True)");

  std::vector<uint8_t> lossless = ReadWholeFile(dir.File("lossless.webp"));
  EXPECT_TRUE(IsWebpHeader(lossless));
  EXPECT_FALSE(IsAnimatedWebp(lossless));
  TBitmap picture = DecodeWebp(lossless);
  EXPECT_EQ(RgbaOf(picture), ReadWholeFile(dir.File("lossless.rgba")));

  TBitmap lossy = DecodeWebp(ReadWholeFile(dir.File("lossy.webp")));
  EXPECT_EQ(lossy.Width(), 32);
  EXPECT_EQ(lossy.ScanLine(5)[3], 255);

  std::vector<uint8_t> animation = ReadWholeFile(dir.File("anim.webp"));
  EXPECT_TRUE(IsAnimatedWebp(animation));
  std::vector<WebpFrame> frames = DecodeWebpFrames(animation);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].delayMs, 100);
  EXPECT_EQ(frames[1].delayMs, 250);
  EXPECT_EQ(frames[2].delayMs, 40);
  EXPECT_EQ(RgbaOf(frames[1].picture).at(0), 0);
  EXPECT_EQ(RgbaOf(frames[1].picture).at(3), 128);
  EXPECT_EQ(DecodeWebp(animation).Width(), 24);

  // Transparent pixels keep their colours, as the PNG they came from holds them.
  std::vector<uint8_t> written = EncodeWebpLossless(DecodePngRgba(ReadWholeFile(png)));
  WriteFileAtomic(dir.File("written.webp"), written);
  RunPillow(dir.Path(),
            "open('written.rgba', 'wb').write(Image.open('written.webp').convert('RGBA')."
            "tobytes())\n"
            "open('source.rgba', 'wb').write(Image.open('" +
                png + "').convert('RGBA').tobytes())");
  EXPECT_EQ(ReadWholeFile(dir.File("written.rgba")), ReadWholeFile(dir.File("source.rgba")));

  std::vector<uint8_t> cut(lossless.begin(), lossless.begin() + 40);
  EXPECT_THROW(DecodeWebp(cut), EInvalidGraphic);
  EXPECT_THROW(DecodeWebpFrames(std::vector<uint8_t>(animation.begin(), animation.end() - 30)),
               EInvalidGraphic);
}

}  // namespace
}  // namespace varnel

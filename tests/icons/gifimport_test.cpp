// GIF frames composed and imported as icon images: the corpus against ImageMagick's coalesced
// frames, disposal, and the mask of transparent pixels drawn in the background colour.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/fileio.h"
#include "graphics/gifcodec.h"
#include "icons/gifframes.h"
#include "icons/gifimport.h"
#include "icons/maskbits.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

constexpr char kConvert[] = "/usr/bin/convert";
// ImageMagick's alpha below this counts as transparent.
constexpr int kMaskThreshold = 80;

// The RGBA bytes of every coalesced frame ImageMagick makes of a GIF, frame after frame.
std::vector<uint8_t> CoalescedRgba(const std::string& path) {
  std::string out = test::RunCommand(std::string(kConvert) + " '" + path +
                                     "' -coalesce -depth 8 rgba:- 2>/dev/null")
                        .out;
  return {out.begin(), out.end()};
}

// Mask and opaque colours of an image against one RGBA frame.
int CountDifferences(const TSubIcon& image, const uint8_t* rgba) {
  TBitmap color, mask;
  image.GetBitmaps(nullptr, &color, clNone, &mask);
  int different = 0;
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      const uint8_t* expected = rgba + (size_t(y) * color.Width() + x) * 4;
      bool transparent = expected[3] < kMaskThreshold;
      TColor got = color.GetPixel(x, y);
      bool same = MaskBitSet(mask, x, y) == transparent &&
                  (transparent || got == RGB(expected[0], expected[1], expected[2]));
      different += !same;
    }
  return different;
}

TEST(GifImportTest, EveryCorpusGifImportsAsImageMagickCoalescesIt) {
  if (!std::filesystem::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  std::vector<std::string> files = test::CorpusFiles("gif", {".gif"});
  VARNEL_SKIP_WITHOUT_FILES(files, "GIF files");
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    GifPicture gif = DecodeGif(bytes);
    TAdvancedIcon icon;
    AddGifImages(icon, bytes);
    std::vector<uint8_t> expected = CoalescedRgba(path);
    size_t frameBytes = size_t(gif.width) * gif.height * 4;
    ASSERT_EQ(expected.size(), frameBytes * icon.Images().Count());
    EXPECT_EQ(icon.Images().Count() > 1, IsAnimatedGif(path));
    // A still GIF whose frame uses all 256 entries gives up its least-used entries to black
    // and white: interlace.gif has every colour once and no black, so one pixel changes.
    int allowed = path.ends_with("interlace.gif") ? 1 : 0;
    for (int i = 0; i < icon.Images().Count(); ++i)
      EXPECT_EQ(CountDifferences(*icon.Images()[i], expected.data() + frameBytes * i), allowed)
          << "frame " << i;
  }
}

GifPicture ThreeFrames(GifDisposal middle) {
  GifPicture gif;
  gif.width = gif.height = 4;
  gif.globalMap = {{0, 0, 255, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {255, 255, 255, 0}};
  GifFrame base;
  base.width = base.height = 4;
  base.pixels.assign(16, 0);  // red everywhere
  GifFrame blue;
  blue.left = blue.top = 1;
  blue.width = blue.height = 2;
  blue.pixels.assign(4, 1);
  blue.control = GifGraphicControl{5, middle, -1};
  GifFrame dot;  // one green pixel, the rest transparent
  dot.width = dot.height = 4;
  dot.pixels.assign(16, 3);
  dot.pixels[0] = 2;
  dot.control = GifGraphicControl{0, GifDisposal::Keep, 3};
  gif.frames = {base, blue, dot};
  return gif;
}

TColor PixelOf(const TFrameItem& item, int x, int y) {
  return MaskBitSet(item.mask, x, y) ? clNone : item.color.GetPixel(x, y);
}

TEST(GifImportTest, DisposalDecidesWhatTheNextFrameIsDrawnOn) {
  const TColor red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
  struct Case {
    GifDisposal disposal;
    TColor centre;  // pixel (1, 1) of the third frame
  } cases[] = {{GifDisposal::Keep, blue},
               {GifDisposal::RestorePrevious, red},
               {GifDisposal::RestoreBackground, clNone}};
  for (const Case& c : cases) {
    std::vector<TFrameItem> items;
    ASSERT_TRUE(ComposeGifFrames(ThreeFrames(c.disposal), items));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(PixelOf(items[1], 1, 1), blue);
    EXPECT_EQ(PixelOf(items[2], 1, 1), c.centre) << int(c.disposal);
    EXPECT_EQ(PixelOf(items[2], 0, 0), green);
    EXPECT_EQ(PixelOf(items[2], 3, 3), red);
    EXPECT_EQ(items[0].delay, kDefaultGifFrameDelay);
    EXPECT_EQ(items[1].delay, 5);
  }
  std::vector<TFrameItem> none;
  EXPECT_FALSE(ComposeGifFrames(GifPicture{}, none));
}

// A GIF of one frame covering the screen, with the global map and a transparent index.
GifPicture OneFrameGif(int width, int height, std::vector<RGBQuad> map, std::vector<uint8_t> pixels,
                       int transparent) {
  GifPicture gif;
  gif.width = width;
  gif.height = height;
  gif.globalMap = std::move(map);
  GifFrame frame;
  frame.width = width;
  frame.height = height;
  frame.pixels = std::move(pixels);
  frame.control = GifGraphicControl{0, GifDisposal::Unspecified, transparent};
  gif.frames = {frame};
  return gif;
}

// A GIF whose transparent index is also its background colour: the mask is exactly the pixels
// that are transparent, and the cleaned palette holds black and white for the masked pixels.
TEST(GifImportTest, TransparentPixelsInTheBackgroundColourAreMasked) {
  GifPicture gif = OneFrameGif(3, 2, {{0, 0, 255, 0}, {0, 128, 0, 0}}, {0, 1, 0, 1, 1, 0}, 1);
  gif.backgroundIndex = 1;
  const GifFrame& frame = gif.frames[0];
  TAdvancedIcon icon;
  AddImageFromGif(icon, gif);
  ASSERT_EQ(icon.Images().Count(), 1);
  TBitmap color, mask;
  icon.Images()[0]->GetBitmaps(nullptr, &color, clNone, &mask);
  for (int i = 0; i < 6; ++i) {
    int x = i % 3, y = i / 3;
    bool transparent = frame.pixels[size_t(i)] == 1;
    EXPECT_EQ(MaskBitSet(mask, x, y), transparent) << i;
    EXPECT_EQ(color.GetPixel(x, y), transparent ? clBlack : RGB(255, 0, 0)) << i;
  }
  const std::vector<RGBQuad>& palette = color.Palette();
  EXPECT_NE(std::find(palette.begin(), palette.end(), RGBQuad{255, 255, 255, 0}), palette.end());
}

TEST(GifImportTest, LargeGifsAreReportedAndOnlyAddedWhenAllowed) {
  test::TempDir folder;
  GifPicture gif = ThreeFrames(GifDisposal::Keep);
  gif.width = 300;
  gif.height = 20;
  std::vector<uint8_t> bytes = EncodeGif(gif);
  WriteFileAtomic(folder.File("wide.gif"), bytes);
  TAdvancedIcon icon;
  int width = 0, height = 0;
  LoadGifFile(icon, folder.File("wide.gif"), false, height, width);
  EXPECT_EQ(icon.Images().Count(), 0);
  EXPECT_EQ(width, 300);
  EXPECT_EQ(height, 20);
  LoadGifFile(icon, folder.File("wide.gif"), true, height, width);
  EXPECT_EQ(icon.Images().Count(), 1);
  LoadGifFrames(folder.File("wide.gif"), icon);
  EXPECT_EQ(icon.Images().Count(), 4);
}

// A 4 x 2 GIF: the left half red, the right half transparent.
GifPicture HalfTransparent() {
  return OneFrameGif(4, 2, {{0, 0, 255, 0}, {0, 0, 0, 0}}, {0, 0, 1, 1, 0, 0, 1, 1}, 1);
}

TEST(GifImportTest, SizedAndResampledImportsFitTheTargetAndKeepTransparency) {
  test::TempDir folder;
  WriteFileAtomic(folder.File("half.gif"), EncodeGif(HalfTransparent()));
  TAdvancedIcon icon;
  LoadGifFileSized(icon, folder.File("half.gif"), 8, true, 8);
  LoadGifFileResampled(icon, folder.File("half.gif"), 8, 1, 80, true, 8);
  ASSERT_EQ(icon.Images().Count(), 2);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    TBitmap color, mask;
    icon.Images()[i]->GetBitmaps(nullptr, &color, clNone, &mask);
    EXPECT_EQ(icon.Images()[i]->BitsPerPixel(), 8);
    ASSERT_EQ(color.Width(), 8);
    // The picture fills rows 2 to 5; the bands above and below and its right half are masked.
    for (int y : {0, 7}) EXPECT_TRUE(MaskBitSet(mask, 3, y));
    EXPECT_TRUE(MaskBitSet(mask, 6, 3));
    EXPECT_EQ(color.GetPixel(6, 3), clBlack);
    EXPECT_FALSE(MaskBitSet(mask, 1, 3));
    EXPECT_EQ(color.GetPixel(1, 3), RGB(255, 0, 0));
  }
  // Same size: added as the GIF is.
  LoadGifFileSized(icon, folder.File("half.gif"), 4, true, 2);
  EXPECT_EQ(icon.Images()[2]->ImageWidth(), 4);
}

TEST(GifImportTest, SizedImportOfManyColoursQuantisesAndEndsWithBlackAndWhite) {
  test::TempDir folder;
  GifPicture gif;
  gif.width = gif.height = 16;
  GifFrame frame;
  frame.width = frame.height = 16;
  for (int i = 0; i < 256; ++i) {
    gif.globalMap.push_back({uint8_t(i), uint8_t(100 + i % 50), uint8_t(30 + i % 7), 0});
    frame.pixels.push_back(uint8_t(i));
  }
  gif.frames = {frame};
  WriteFileAtomic(folder.File("many.gif"), EncodeGif(gif));
  TAdvancedIcon icon;
  LoadGifFileSized(icon, folder.File("many.gif"), 32, false, 32);
  ASSERT_EQ(icon.Images().Count(), 1);
  TBitmap color;
  icon.Images()[0]->GetBitmaps(nullptr, &color, clNone, nullptr);
  ASSERT_EQ(color.Format(), PixelFormat::Bits8);
  EXPECT_EQ(color.Palette()[254], (RGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(color.Palette()[255], (RGBQuad{255, 255, 255, 0}));
}

}  // namespace
}  // namespace varnel

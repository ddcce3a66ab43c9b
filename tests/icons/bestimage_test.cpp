// Choosing the image an icon shows for a wanted size and depth.

#include <gtest/gtest.h>

#include <filesystem>

#include "icons/advancedicon.h"
#include "support/corpus.h"

namespace varnel {
namespace {

struct Format {
  int width, height, bits;
};

PixelFormat PixelFormatOf(int bits) {
  PixelFormat format = FormatOfBits(bits);
  return format == PixelFormat::Custom || format == PixelFormat::Bits16 ? PixelFormat::Bits24
                                                                        : format;
}

std::unique_ptr<TAdvancedIcon> IconOf(std::initializer_list<Format> formats) {
  auto icon = std::make_unique<TAdvancedIcon>();
  for (const Format& f : formats)
    icon->Images().AddFromBitmap(TBitmap(f.width, f.height, PixelFormatOf(f.bits)), nullptr, 0);
  return icon;
}

TEST(BestImageTest, SizeDistanceComesBeforeDepth) {
  auto icon = IconOf({{16, 16, 32}, {32, 32, 8}, {48, 48, 32}});
  EXPECT_EQ(icon->BestImageIndex(32, 32, 32), 1);
  EXPECT_EQ(icon->GetBestImage(32, 32, 32), icon->Images()[1]);
  // Only the depth counts when no size is wanted.
  EXPECT_EQ(icon->BestImageIndex(0, 0, 32), 0);
  EXPECT_EQ(icon->BestImageIndex(0, 0, 8), 1);
}

TEST(BestImageTest, SlightlySmallerCompetesMuchSmallerLoses) {
  // 29 is 9.4 % narrower than 32: 3 + 3 = 6 beats 36's 4 + 4 = 8.
  EXPECT_EQ(IconOf({{36, 36, 32}, {29, 29, 32}})->BestImageIndex(32, 32, 0), 1);
  // 27 is 15.6 % narrower: (4096 + 5) * 2 = 8202 loses to any image that is not much smaller.
  // The pixel difference counts on top of the penalty so that the largest of several much
  // smaller images wins; a flat 4096 per side (8192) let the first of them win instead.
  EXPECT_EQ(IconOf({{27, 27, 32}, {200, 200, 32}})->BestImageIndex(32, 32, 0), 1);
  EXPECT_EQ(IconOf({{27, 27, 32}, {29, 29, 32}})->BestImageIndex(32, 32, 0), 1);
  // Exactly an eighth smaller still competes on its difference (28 vs 32: 4 + 4 = 8 < 9 + 9).
  EXPECT_EQ(IconOf({{41, 41, 32}, {28, 28, 32}})->BestImageIndex(32, 32, 0), 1);
  // Width and height are weighed separately.
  EXPECT_EQ(IconOf({{32, 16, 32}, {40, 40, 32}})->BestImageIndex(32, 32, 0), 1);
}

TEST(BestImageTest, LargestOfMuchSmallerImagesWins) {
  // A large custom cell: every image is much smaller, so the largest one is shown, not the first.
  auto icon = IconOf({{16, 16, 32}, {32, 32, 32}, {48, 48, 32}});
  EXPECT_EQ(icon->BestImageIndex(128, 128, 32), 2);
  EXPECT_EQ(icon->BestImageIndex(128, 128, 0), 2);
  EXPECT_EQ(IconOf({{16, 16, 32}, {32, 32, 32}})->BestImageIndex(48, 48, 32), 1);
  // Depth no longer decides among much smaller images of different sizes...
  EXPECT_EQ(IconOf({{16, 16, 32}, {32, 32, 8}})->BestImageIndex(48, 48, 32), 1);
  // ...but still does among much smaller images of one size.
  EXPECT_EQ(IconOf({{32, 32, 8}, {32, 32, 32}, {16, 16, 32}})->BestImageIndex(128, 128, 32), 1);
  // A larger image still beats all of them.
  EXPECT_EQ(IconOf({{48, 48, 32}, {256, 256, 8}})->BestImageIndex(128, 128, 32), 1);
}

TEST(BestImageTest, DamagedHeaderSizesDoNotOverflowTheDistance) {
  auto icon = IconOf({{16, 16, 32}, {32, 32, 32}});
  // Forge the first image's header: a width of -2^31 is much smaller than anything wanted.
  std::vector<uint8_t> data = icon->Images()[0]->Data().ToVector();
  ASSERT_GE(data.size(), 8u);
  data[4] = 0x00, data[5] = 0x00, data[6] = 0x00, data[7] = 0x80;
  icon->Images()[0]->SetData(data);
  EXPECT_EQ(icon->BestImageIndex(128, 128, 32), 1);
}

TEST(BestImageTest, SixteenBitWantPenalisesFewColours) {
  // Depth 16 from 4 and 24 bits: 12 + 8 = 20 against 8.
  EXPECT_EQ(IconOf({{32, 32, 4}, {32, 32, 24}})->BestImageIndex(32, 32, 16), 1);
  // For other wanted depths only the difference counts.
  EXPECT_EQ(IconOf({{32, 32, 24}, {32, 32, 4}})->BestImageIndex(32, 32, 8), 1);
}

TEST(BestImageTest, TiesKeepTheEarlierImage) {
  EXPECT_EQ(IconOf({{30, 30, 8}, {34, 34, 8}})->BestImageIndex(32, 32, 8), 0);
  EXPECT_EQ(IconOf({{32, 32, 8}, {32, 32, 24}})->BestImageIndex(32, 32, 16), 0);
}

TEST(BestImageTest, EmptyAndSingleImageIcons) {
  TAdvancedIcon empty;
  EXPECT_EQ(empty.BestImageIndex(32, 32, 32), 0);
  EXPECT_EQ(empty.GetBestImage(32, 32, 32), nullptr);
  EXPECT_EQ(empty.GetBestHandle(32, 32, 32), nullptr);
  auto single = IconOf({{256, 256, 1}});
  EXPECT_EQ(single->GetBestImage(16, 16, 32), single->Images()[0]);
  EXPECT_EQ(single->GetBestHandle(16, 16, 32), single->Images()[0]->Handle());
}

TEST(FindImageTest, ExactFormatOrTheLastSimilarTrueColourOne) {
  auto icon = IconOf({{16, 16, 8}, {16, 16, 24}, {32, 32, 4}});
  EXPECT_EQ(icon->FindImage(16, 16, 16), icon->Images()[1]);
  EXPECT_EQ(icon->FindImage(16, 16, 8), icon->Images()[0]);
  EXPECT_EQ(icon->FindImage(32, 32, 4), icon->Images()[2]);
  EXPECT_EQ(icon->FindImage(32, 32, 8), nullptr);   // 4 bits is outside 8..24
  EXPECT_EQ(icon->FindImage(16, 16, 32), nullptr);  // 32 bits is outside 8..24
  EXPECT_EQ(icon->FindImage(24, 24, 8), nullptr);
}

TEST(BestImageTest, RealIconsChooseTheirNearestImage) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/bug785447.ico");
  std::string path = test::CorpusPath("ico/bug785447.ico");
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "the sample corpus is missing: " << path;
  TAdvancedIcon icon;
  ASSERT_TRUE(icon.LoadFromFile(path));
  // 4-bit 48/32/24/16, a 256 PNG, 8-bit 48/32/24/16, 32-bit 128/96/80/72/64/48/32/24/16.
  auto chosen = [&](int size, int bits) {
    const TSubIcon* image = icon.GetBestImage(size, size, bits);
    return std::to_string(image->ImageWidth()) + "x" + std::to_string(image->BitsPerPixel());
  };
  EXPECT_EQ(chosen(48, 32), "48x32");
  EXPECT_EQ(chosen(48, 4), "48x4");
  EXPECT_EQ(chosen(100, 32), "96x32");  // 4 + 4 against 28 + 28 for 128
  EXPECT_EQ(chosen(200, 32), "256x32");
  EXPECT_EQ(chosen(20, 8), "24x8");
  EXPECT_EQ(icon.FindImage(256, 256, 32), icon.Images()[4]);
}

}  // namespace
}  // namespace varnel

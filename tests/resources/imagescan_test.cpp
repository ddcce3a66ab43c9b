// The raw scan of a file's bytes and the module census on images built in code.

#include "resources/imagescan.h"

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "iconfixtures.h"
#include "resources/iclwriter32.h"
#include "resources/iconlibrary.h"
#include "resources/modulecensus.h"
#include "resources/ne16bitwriter.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::DibIcon;
using test::DibImageBytes;

void Append(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
}

// Zeros, the DIB images of these widths one after the other, and 600 zeros (the unexamined tail).
std::vector<uint8_t> BytesWithImages(const std::vector<int>& widths, int bits = 4) {
  std::vector<uint8_t> bytes(37, 0);
  for (int width : widths) Append(bytes, DibImageBytes(width, bits));
  bytes.resize(bytes.size() + 600, 0);
  return bytes;
}

std::vector<int> WidthsOf(const TAdvancedIcon& icon) {
  std::vector<int> widths;
  for (const auto& image : icon.Images()) widths.push_back(image->ImageWidth());
  return widths;
}

TEST(ImageScan, DecreasingSizesMergeIntoOneIcon) {
  TIconList icons;
  icons.AddIcon("before", DibIcon({16}));
  ScanBytesForImages(BytesWithImages({48, 32, 16}), icons);
  ASSERT_EQ(icons.Count(), 2);
  EXPECT_EQ(WidthsOf(*icons.Icons(1)), (std::vector<int>{48, 32, 16}));
  EXPECT_EQ(icons.Names(0), "before");
  EXPECT_EQ(icons.Names(1), "Icon 2");
}

TEST(ImageScan, IncreasingSizesStaySeparate) {
  TIconList icons;
  ScanBytesForImages(BytesWithImages({16, 32, 48}), icons);
  ASSERT_EQ(icons.Count(), 3);
  EXPECT_EQ(icons.Names(2), "Icon 3");
  EXPECT_EQ(WidthsOf(*icons.Icons(2)), (std::vector<int>{48}));
}

TEST(ImageScan, DeeperLargerImageTakesTheShallowerSmallerOne) {
  std::vector<uint8_t> bytes(10, 0);
  Append(bytes, DibImageBytes(16, 4));
  Append(bytes, DibImageBytes(32, 8));
  bytes.resize(bytes.size() + 600, 0);
  TIconList icons;
  ScanBytesForImages(bytes, icons);
  ASSERT_EQ(icons.Count(), 1);
  EXPECT_EQ(WidthsOf(*icons.Icons(0)), (std::vector<int>{16, 32}));
}

TEST(ImageScan, FindsPngFilesAndSkipsDamagedOnes) {
  TBitmap picture(24, 24, PixelFormat::Bits32);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) picture.ScanLine(y)[x * 4 + 3] = x < 12 ? 255 : 0;
  std::vector<uint8_t> png = EncodePng(picture);
  std::vector<uint8_t> damaged = png;
  damaged[20] ^= 0xFF;  // inside IHDR: the CRC no longer matches
  std::vector<uint8_t> bytes(3, 0);
  Append(bytes, damaged);
  Append(bytes, png);
  bytes.resize(bytes.size() + 600, 0);
  TIconList icons;
  ScanBytesForImages(bytes, icons);
  ASSERT_EQ(icons.Count(), 1);
  EXPECT_EQ(icons.Icons(0)->Images()[0]->ImageWidth(), 24);
}

TEST(ImageScan, NothingIsExaminedInTheLast500Bytes) {
  std::vector<uint8_t> bytes(100, 0);
  Append(bytes, DibImageBytes(16, 1));  // 176 bytes, starting 500 bytes before the end
  bytes.resize(600, 0);
  TIconList icons;
  ScanBytesForImages(bytes, icons);
  EXPECT_EQ(icons.Count(), 0);
  bytes.push_back(0);
  ScanBytesForImages(bytes, icons);
  EXPECT_EQ(icons.Count(), 1);
  ScanBytesForImages(std::vector<uint8_t>(10, 0), icons);
}

TEST(ImageScan, TruncatedImageAtTheEndIsSkipped) {
  std::vector<uint8_t> bytes(10, 0);
  Append(bytes, DibImageBytes(128, 32));
  bytes.resize(bytes.size() - 40000);
  TIconList icons;
  ScanBytesForImages(bytes, icons);
  EXPECT_EQ(icons.Count(), 0);
}

TEST(ModuleCensus, CountsGroupsOfBothLibraryKinds) {
  TIconList icons;
  icons.AddIcon("a", DibIcon({16, 32}));
  icons.AddIcon("b", std::make_unique<TAdvancedIcon>());
  icons.AddIcon("c", DibIcon({48}));
  ModuleCensus pe = TakeModuleCensus(BuildIcl32Image(icons));
  EXPECT_EQ(pe.kind, ModuleKind::PE);
  EXPECT_TRUE(pe.hasIcons);
  EXPECT_EQ(pe.iconCount, 2);
  EXPECT_FALSE(pe.is64Bit);
  ModuleCensus ne = TakeModuleCensus(T16BitWriter(icons).BuildImage());
  EXPECT_EQ(ne.kind, ModuleKind::NE);
  EXPECT_TRUE(ne.hasIcons);
  EXPECT_EQ(ne.iconCount, 3);
  bool is32Bit = true;
  EXPECT_TRUE(IsModuleBytes(T16BitWriter(icons).BuildImage(), is32Bit));
  EXPECT_FALSE(is32Bit);
}

TEST(ModuleCensus, ModulesWithoutIconsAndOtherFiles) {
  TIconList none;
  ModuleCensus empty = TakeModuleCensus(BuildIcl32Image(none));
  EXPECT_FALSE(empty.hasIcons);
  EXPECT_EQ(empty.iconCount, 0);
  std::vector<uint8_t> notModule = {'M', 'Z', 0, 0};
  EXPECT_EQ(TakeModuleCensus(notModule).iconCount, -1);
  EXPECT_EQ(TakeModuleCensus({}).iconCount, -1);
  // e_lfanew pointing far beyond the file.
  std::vector<uint8_t> far(64, 0);
  far[0] = 'M';
  far[1] = 'Z';
  WriteU32LE(&far[60], 0xFFFFFFF0);
  EXPECT_EQ(TakeModuleCensus(far).iconCount, -1);
  bool is32Bit = false;
  EXPECT_FALSE(IsModuleBytes(far, is32Bit));
  bool is64Bit = true;
  EXPECT_EQ(CountModuleIcons("/nonexistent/file.dll", is64Bit), -1);
  EXPECT_FALSE(is64Bit);
}

TEST(ModuleCensus, EveryTruncationOfALibraryIsSafe) {
  TIconList icons;
  icons.AddIcon("a", DibIcon({16}));
  for (const std::vector<uint8_t>& file :
       {BuildIcl32Image(icons), T16BitWriter(icons).BuildImage()}) {
    for (size_t size = 0; size < file.size(); size += 7) {
      std::vector<uint8_t> cut(file.begin(), file.begin() + int64_t(size));
      ModuleCensus census = TakeModuleCensus(cut);
      EXPECT_LE(census.iconCount, 1);
    }
  }
}

}  // namespace
}  // namespace varnel

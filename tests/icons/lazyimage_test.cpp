// Images are loaded without decoding: PNG images keep the bytes they were read with and get the
// entry of the image they unpack to; DIB images are decoded in place when drawn. Both are
// checked on real files against the eager routes (unpacking on load, reading through a BMP file).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/byteorder.h"
#include "graphics/bmpcodec.h"
#include "graphics/canvas.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "icons/dibheader.h"
#include "support/corpus.h"

namespace varnel {
namespace {

std::vector<std::string> SampleIconFiles() {
  std::vector<std::string> files = test::CorpusFiles("ico", {".ico"});
  for (const auto& f : test::CorpusFiles("cur", {".cur"})) files.push_back(f);
  std::error_code error;
  for (const char* folder : {"/usr/share/nsis/Contrib/Graphics/Icons", "/usr/share/pixmaps"})
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
      if (entry.path().extension() == ".ico") files.push_back(entry.path().string());
  return files;
}

// A BMP file of the colour part of an icon image, as the bitmap reader used to be given it.
std::vector<uint8_t> ColorBmpFile(const TSubIcon& image, const DibLayout& layout) {
  const ByteBlock& data = image.Data();
  size_t offset = size_t(std::min<int64_t>(layout.colorBitsOffset, int64_t(data.size())));
  size_t end =
      size_t(std::min<int64_t>(int64_t(data.size()), int64_t(offset) + layout.colorBitsSize));
  std::vector<uint8_t> file(14 + end);
  file[0] = 'B', file[1] = 'M';
  WriteU32LE(&file[10], uint32_t(14 + offset));
  std::copy(data.begin(), data.begin() + int64_t(end), file.begin() + 14);
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(data.data());
  header.biSize = TBitmapInfoHeader::kSize;
  header.biHeight = layout.height;
  header.Encode(file.data() + 14);
  return file;
}

TEST(LazyImageTest, PngImagesKeepTheirBytesAndGetTheEntryOfTheUnpackedImage) {
  std::vector<std::string> files = SampleIconFiles();
  VARNEL_SKIP_WITHOUT_FILES(files, "sample icons (corpus ico and cur, nsis, pixmaps)");
  int pngImages = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    TAdvancedIcon icon;
    if (!icon.LoadFromFile(path)) continue;
    for (const auto& image : icon.Images()) {
      if (!image->IsPng()) continue;
      ++pngImages;
      EXPECT_TRUE(image->Packed());
      EXPECT_EQ(image->Entry().dwBytesInRes, image->DataSize());
      TSubIcon unpacked;
      image->UnpackPng(unpacked);
      TIconDirEntry expected = unpacked.Entry(), actual = image->Entry();
      expected.dwBytesInRes = actual.dwBytesInRes = 0;
      EXPECT_EQ(actual, expected);
      EXPECT_EQ(image->BitsPerPixel(), unpacked.BitsPerPixel());
      EXPECT_EQ(image->GetShortDescription(), unpacked.GetShortDescription());
      for (TColor background : {clNone, clBlack, RGB(10, 200, 30)}) {
        TBitmap composite, color, mask, expectedComposite, expectedColor, expectedMask;
        image->GetBitmaps(&composite, &color, background, &mask);
        unpacked.GetBitmaps(&expectedComposite, &expectedColor, background, &expectedMask);
        EXPECT_EQ(composite, expectedComposite);
        EXPECT_EQ(color, expectedColor);
        EXPECT_EQ(mask, expectedMask);
      }
    }
  }
  if (pngImages == 0) GTEST_SKIP() << "no PNG images in the sample icons";
}

TEST(LazyImageTest, DibImagesDecodeInPlaceAsThroughABmpFile) {
  std::vector<std::string> files = SampleIconFiles();
  VARNEL_SKIP_WITHOUT_FILES(files, "sample icons (corpus ico and cur, nsis, pixmaps)");
  int compared = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    TAdvancedIcon icon;
    if (!icon.LoadFromFile(path)) continue;
    for (const auto& image : icon.Images()) {
      if (image->IsPng() || !image->HasData()) continue;
      auto layout = DibLayoutOf(TBitmapInfoHeader::Decode(image->Data().data()));
      ASSERT_TRUE(layout);
      TBitmap color, mask;
      image->GetBitmaps(nullptr, &color, clNone, &mask);
      try {
        TBitmap expected = LoadBmp(ColorBmpFile(*image, *layout));
        if (expected.Format() == PixelFormat::Device || expected.Format() == PixelFormat::Custom)
          expected = ConvertFormat(expected, PixelFormat::Bits24);
        EXPECT_EQ(color, expected);
      } catch (const Exception&) {
        // The bitmap reader refuses these colour bits: the image is drawn blank at its size.
        EXPECT_EQ(color.Width(), layout->width);
      }
      ASSERT_EQ(mask.Format(), PixelFormat::Bits1);
      std::span<const uint8_t> maskBits =
          std::span(image->Data()).subspan(size_t(layout->colorBitsOffset + layout->colorBitsSize));
      if (int64_t(maskBits.size()) >= layout->maskSize)
        EXPECT_TRUE(std::ranges::equal(mask.Bits(), maskBits.first(size_t(layout->maskSize))));
      ++compared;
    }
  }
  EXPECT_GT(compared, 50);
}

}  // namespace
}  // namespace varnel

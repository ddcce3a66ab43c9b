#include "icons/subicon.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "graphics/pngcodec.h"
#include "icons/dibheader.h"
#include "icons/filer.h"
#include "icons/subiconlist.h"

namespace varnel {
namespace {

// A DIB image of the given header values with zeroed colour table, pixels and mask; a header
// beyond the limits comes alone.
std::vector<uint8_t> DibData(int32_t width, int32_t height2, uint16_t bits) {
  TBitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height2;
  header.biBitCount = bits;
  size_t size = TBitmapInfoHeader::kSize;
  if (auto layout = DibLayoutOf(header))
    size = size_t(layout->colorBitsOffset + layout->colorBitsSize + layout->maskSize);
  std::vector<uint8_t> data(size);
  header.Encode(data.data());
  return data;
}

void LoadData(TSubIcon& image, std::vector<uint8_t> data) {
  MemoryStream stream(std::move(data));
  image.LoadFromData(stream);
}

std::unique_ptr<TSubIcon> ImageFromBitmap(const TBitmap& color, const TBitmap* mask = nullptr) {
  TSubIconList list;
  list.AddFromBitmap(color, mask, 0);
  return list.Extract(0);
}

TBitmap Rgba(int w, int h, std::initializer_list<uint32_t> bgra = {}) {
  TBitmap bitmap(w, h, PixelFormat::Bits32);
  auto it = bgra.begin();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w && it != bgra.end(); ++x, ++it)
      WriteU32LE(bitmap.ScanLine(y) + 4 * x, *it);
  return bitmap;
}

TEST(SubIconEntryTest, SizesAndDepthsComeFromTheHeader) {
  TSubIcon big;
  LoadData(big, DibData(256, 512, 32));
  EXPECT_EQ(big.Entry().bWidth, 0);
  EXPECT_EQ(big.Entry().bHeight, 0);
  EXPECT_EQ(big.GetDescription(), "256x256, 32 bpp");
  EXPECT_EQ(big.GetShortDescription(), "256x256x32bpp");

  TSubIcon sixteen;
  LoadData(sixteen, DibData(24, 48, 4));
  EXPECT_EQ(sixteen.Entry().bHeight, 24);
  EXPECT_EQ(sixteen.Entry().bColorCount, 16);

  TSubIcon twoBit;  // not drawable, but described
  twoBit.SetData(DibData(16, 32, 2));
  EXPECT_EQ(twoBit.GetShortDescription(), "16x16x");
  std::string size, colors;
  twoBit.GetSizeAndColors(size, colors);
  EXPECT_EQ(size, "16x16");
  EXPECT_EQ(colors, "");
}

TEST(SubIconEntryTest, RejectsImagesThatCannotBeDrawn) {
  struct Case {
    int32_t width, height2;
    uint16_t bits;
  };
  for (Case c :
       {Case{0, 64, 8}, Case{24, 0, 4}, Case{24, 1, 4}, Case{16, 32, 2}, Case{-16, 32, 8},
        Case{16, -32, 8}, Case{0x7FFFFFFF, 32, 8}, Case{16, 32, 0}, Case{16, 32, 0xFFFF}}) {
    TSubIcon image;
    EXPECT_THROW(LoadData(image, DibData(c.width, c.height2, c.bits)), EInvalidImage)
        << c.width << " " << c.height2 << " " << c.bits;
  }
  std::vector<uint8_t> missingBits = DibData(32, 64, 32);
  missingBits.resize(TBitmapInfoHeader::kSize + 32 * 32 * 4 - 1);
  TSubIcon image;
  EXPECT_THROW(LoadData(image, missingBits), EInvalidImage);
  missingBits.resize(TBitmapInfoHeader::kSize + 32 * 32 * 4);  // the mask may be missing
  EXPECT_NO_THROW(LoadData(image, missingBits));
  EXPECT_TRUE(image.IsDrawable());
}

TEST(SubIconEntryTest, RejectsOversizedAndTooDeepImages) {
  TSubIcon image;
  EXPECT_NO_THROW(LoadData(image, DibData(5999, 2, 1)));
  EXPECT_THROW(LoadData(image, DibData(6000, 2, 1)), Exception);
  EXPECT_THROW(LoadData(image, DibData(16, 2 * 6000, 1)), Exception);
  EXPECT_THROW(LoadData(image, DibData(16, 32, 33)), Exception);
  EXPECT_THROW(LoadData(image, std::vector<uint8_t>(20, 0)), Exception);
}

TEST(SubIconRecordTest, EmptyRecordIsOneZeroByte) {
  TSubIcon empty;
  MemoryStream stream;
  empty.SaveToStream(stream);
  ASSERT_EQ(stream.Bytes(), std::vector<uint8_t>{0});
  stream.SetPosition(0);
  TSubIcon read;
  read.LoadFromStream(stream);
  EXPECT_EQ(read.DataSize(), 0u);
  EXPECT_FALSE(read.HasData());
}

TEST(SubIconRecordTest, RecordRoundTripsAndSkips) {
  auto image = ImageFromBitmap(Rgba(3, 2, {0xFF0000FF, 0x00000000, 0x80112233}));
  MemoryStream stream;
  image->SaveToStream(stream);
  image->SaveToStream(stream);
  stream.SetPosition(0);
  TSubIcon::SkipRecord(stream);
  TSubIcon read;
  read.LoadFromStream(stream);
  EXPECT_TRUE(read.SameData(*image));
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(SubIconRecordTest, TruncatedRecordLosesOnlyItsData) {
  auto image = ImageFromBitmap(Rgba(2, 2));
  MemoryStream stream;
  image->SaveToStream(stream);
  stream.SetSize(stream.Bytes().size() - 1);
  stream.SetPosition(0);
  TSubIcon read;
  read.LoadFromStream(stream);
  EXPECT_FALSE(read.HasData());
  EXPECT_EQ(read.Entry().dwBytesInRes, 0u);
}

TEST(SubIconRecordTest, PackedDibIsStoredAsPng) {
  auto image = ImageFromBitmap(Rgba(4, 4, {0xFF102030, 0x7F405060}));
  image->SetPacked(true);
  MemoryStream stream;
  image->SaveToStream(stream);
  stream.SetPosition(0);
  TSubIcon read;
  read.LoadFromStream(stream);
  EXPECT_TRUE(read.IsPng());
  EXPECT_TRUE(read.Packed());
  EXPECT_EQ(read.Entry().wBitCount, 32);
  EXPECT_TRUE(read.SameImage(*image));
}

TEST(SubIconRecordTest, FilerRecordKeepsTheHotSpot) {
  auto image = ImageFromBitmap(Rgba(2, 2));
  image->SetHotSpot(5 + 7 * 65536);
  MemoryStream stream;
  TFilerWriter writer(stream);
  image->WriteData(writer);
  stream.SetPosition(0);
  TFilerReader reader(stream);
  TSubIcon read;
  read.ReadData(reader);
  EXPECT_TRUE(read.SameData(*image));
  EXPECT_EQ(read.HotSpot(), 5u + 7 * 65536);
}

TEST(SubIconCompareTest, FullyTransparentPixelsCompareEqualWhateverTheirColour) {
  auto a = ImageFromBitmap(Rgba(2, 1, {0xFF112233, 0x00FFFFFF}));
  auto b = ImageFromBitmap(Rgba(2, 1, {0xFF112233, 0x00000000}));
  auto c = ImageFromBitmap(Rgba(2, 1, {0xFF112234, 0x00000000}));
  EXPECT_TRUE(a->SameImage(*b));
  EXPECT_FALSE(a->SameImage(*c));
  TSubIcon empty1, empty2;
  EXPECT_TRUE(empty1.SameImage(empty2));
  EXPECT_FALSE(empty1.SameImage(*a));
}

TEST(SubIconCompareTest, PalettedImagesCompareByPixels) {
  TBitmap bits(4, 4, PixelFormat::Bits4);
  bits.SetPalette(StandardPalette(4));
  bits.SetPixel(1, 1, RGB(255, 0, 0));
  auto a = ImageFromBitmap(bits);
  auto b = ImageFromBitmap(bits);
  EXPECT_TRUE(a->SameImage(*b));
  bits.SetPixel(2, 2, RGB(0, 0, 255));
  EXPECT_FALSE(a->SameImage(*ImageFromBitmap(bits)));
}

TEST(SubIconPngTest, AlphaSurvivesPackingAndUnpacking) {
  auto image = ImageFromBitmap(Rgba(3, 1, {0xFF0000FF, 0x10203040, 0x00000000}));
  TSubIcon packed;
  image->PackPng(packed);
  ASSERT_TRUE(packed.IsPng());
  EXPECT_EQ(packed.DataSize(), packed.Entry().dwBytesInRes);
  TSubIcon unpacked;
  packed.UnpackPng(unpacked);
  EXPECT_FALSE(unpacked.IsPng());
  auto bits = unpacked.GetPixelBits();
  ASSERT_EQ(bits.size(), 12u);
  EXPECT_EQ(ReadU32LE(bits.data() + 4), 0x10203040u);
  EXPECT_EQ(ReadU32LE(bits.data()), 0xFF0000FFu);
}

TEST(SubIconPngTest, MaskedPaletteImageGetsTransparentIndexZero) {
  TBitmap color(2, 2, PixelFormat::Bits8);
  color.SetPalette(std::vector<RGBQuad>(256, RGBQuad{}));
  TBitmap mask(2, 2, PixelFormat::Bits1);
  mask.SetPalette(StandardPalette(1));
  mask.SetPixel(1, 0, clWhite);
  auto image = ImageFromBitmap(color, &mask);
  std::vector<uint8_t> png = image->SaveToPng();
  TBitmap decoded = DecodePngRgba(png);
  EXPECT_EQ(decoded.ScanLine(0)[4 * 1 + 3], 0);
  EXPECT_EQ(decoded.ScanLine(0)[3], 255);
  TBitmap natural = DecodePng(png);
  EXPECT_EQ(natural.GetIndex(1, 0), 0);
}

TEST(SubIconPngTest, FixedPaletteFollowsItsFamilies) {
  const auto& palette = FixedPalette256();
  ASSERT_EQ(palette.size(), 256u);
  EXPECT_EQ(palette[15].ToColor(), clWhite);
  EXPECT_EQ(palette[16].ToColor(), RGB(9, 9, 9));
  EXPECT_EQ(palette[36].ToColor(), RGB(0xFF, 0xFB, 0xF0));
  // The second family: 3E1400 ... F05500, then FF6D24 ... FFCDB4.
  EXPECT_EQ(palette[52].ToColor(), RGB(0x3E, 0x14, 0x00));
  EXPECT_EQ(palette[58].ToColor(), RGB(0xF0, 0x55, 0x00));
  EXPECT_EQ(palette[59].ToColor(), RGB(0xFF, 0x6D, 0x24));
  EXPECT_EQ(palette[63].ToColor(), RGB(0xFF, 0xCD, 0xB4));
}

TEST(SubIconBitmapsTest, CompositeBlendsAlphaOverTheBackground) {
  auto image = ImageFromBitmap(Rgba(2, 1, {0x80FF0000, 0x00000000}));
  TBitmap composite;
  image->GetBitmaps(&composite, nullptr, RGB(0, 0, 0), nullptr);
  ASSERT_EQ(composite.Width(), 2);
  EXPECT_EQ(composite.GetPixel(0, 0), RGB(128, 0, 0));
  EXPECT_EQ(composite.GetPixel(1, 0), RGB(0, 0, 0));
}

TEST(SubIconBitmapsTest, MaskedWhitePixelsInvertTheBackground) {
  TBitmap color(2, 1, PixelFormat::Bits24);
  color.SetPixel(0, 0, clWhite);
  TBitmap mask(2, 1, PixelFormat::Bits1);
  mask.SetPalette(StandardPalette(1));
  mask.Fill(clWhite);
  auto image = ImageFromBitmap(color, &mask);
  TBitmap composite;
  image->GetBitmaps(&composite, nullptr, RGB(0x10, 0x20, 0x30), nullptr);
  EXPECT_EQ(composite.GetPixel(0, 0), RGB(0xEF, 0xDF, 0xCF));
  EXPECT_EQ(composite.GetPixel(1, 0), RGB(0x10, 0x20, 0x30));
}

TEST(SubIconBitmapsTest, DamagedDibGivesBlankBitmapsOfItsSize) {
  std::vector<uint8_t> data = DibData(8, 16, 8);
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(data.data());
  header.biClrUsed = 1000000;  // colour table far beyond the data
  header.Encode(data.data());
  TSubIcon image;
  EXPECT_THROW(LoadData(image, data), EInvalidImage);
  image.SetData(data);  // held without validation, as a caller may
  TBitmap picture, mask;
  image.GetBitmaps(nullptr, &picture, RGB(1, 2, 3), &mask);
  EXPECT_EQ(picture.Width(), 8);
  EXPECT_EQ(mask.Height(), 8);
  EXPECT_TRUE(image.GetPixelBits().empty());
}

}  // namespace
}  // namespace varnel

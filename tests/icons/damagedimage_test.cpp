// Damaged image headers in every reader that builds images from bytes: they are dropped, the
// other images stay, the streams stay in step, and what was kept draws without errors.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "icons/filer.h"
#include "icons/icondrawing.h"
#include "icons/imagevalidation.h"

namespace varnel {
namespace {

// A complete DIB image (zeroed colour table, pixels and mask) of the given header values;
// a header beyond the limits comes alone, with `tail` bytes after it.
std::vector<uint8_t> Dib(int32_t width, int32_t height2, uint16_t bits, size_t tail = 64) {
  TBitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height2;
  header.biBitCount = bits;
  size_t size = TBitmapInfoHeader::kSize + tail;
  if (auto layout = DibLayoutOf(header))
    size = size_t(layout->colorBitsOffset + layout->colorBitsSize + layout->maskSize);
  std::vector<uint8_t> data(size, 0x33);
  header.Encode(data.data());
  return data;
}

std::vector<uint8_t> Good(int width) {
  return Dib(width, 2 * width, 8);
}

// A PNG whose IHDR claims the given size (its pixel data is that of a 4 x 4 picture).
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
  std::vector<uint8_t> png = EncodePng(TBitmap(4, 4, PixelFormat::Bits32));
  WriteU32BE(&png[16], width);
  WriteU32BE(&png[20], height);
  return png;
}

// The damaged images every test feeds in: huge, negative and zero sizes, absurd depths, colour
// bits cut short, and PNG headers beyond the pixel budget.
std::vector<std::vector<uint8_t>> DamagedImages() {
  std::vector<uint8_t> cut = Good(32);
  cut.resize(TBitmapInfoHeader::kSize + 256 * 4 + 100);
  return {Dib(0x7FFFFFFF, 32, 8), Dib(-16, 32, 8),        Dib(0, 32, 8),
          Dib(16, 0, 8),          Dib(16, -32, 8),        Dib(16, 32, 0xFFFF),
          Dib(16, 32, 3),         Dib(6000, 2, 1),        cut,
          PngClaiming(0, 16),     PngClaiming(5000, 5000)};
}

// An ICO: header, one entry per image (dwBytesInRes its size), the images in order.
std::vector<uint8_t> Ico(const std::vector<std::vector<uint8_t>>& images, uint16_t type = 1) {
  std::vector<uint8_t> ico(6 + 16 * images.size(), 0);
  WriteU16LE(&ico[2], type);
  WriteU16LE(&ico[4], uint16_t(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    WriteU32LE(&ico[6 + 16 * i + 8], uint32_t(images[i].size()));
    WriteU32LE(&ico[6 + 16 * i + 12], uint32_t(ico.size()));
    ico.insert(ico.end(), images[i].begin(), images[i].end());
  }
  return ico;
}

// Draws every image in the ways the program does; none may raise.
void ExpectDrawable(const TAdvancedIcon& icon) {
  TBitmap canvas(64, 64, PixelFormat::Bits32);
  for (const auto& image : icon.Images()) {
    EXPECT_TRUE(image->IsDrawable());
    auto draw = [&] {
      TBitmap composite, picture, mask;
      image->GetBitmaps(&composite, &picture, clWhite, &mask);
      image->Draw(canvas, 0, 0);
      DrawMasked(canvas, 0, 0, clNone, *image);
      DrawFitted(canvas, 0, 0, true, true, clWhite, *image, 48, 48);
      image->SaveToPng();
    };
    EXPECT_NO_THROW(draw());
  }
}

std::vector<int> Widths(const TAdvancedIcon& icon) {
  std::vector<int> widths;
  for (const auto& image : icon.Images()) widths.push_back(image->ImageWidth());
  return widths;
}

TEST(DamagedImages, IcoReadersKeepOnlyTheGoodImages) {
  std::vector<std::vector<uint8_t>> images = {Good(16)};
  for (auto& damaged : DamagedImages()) images.push_back(damaged);
  images.push_back(Good(32));
  std::vector<uint8_t> ico = Ico(images);

  TAdvancedIcon fromFile;
  EXPECT_TRUE(fromFile.LoadFromBytes(ico));
  EXPECT_EQ(Widths(fromFile), (std::vector<int>{16, 32}));
  ExpectDrawable(fromFile);

  SpanStream stream(ico);
  TAdvancedIcon absolute, relative, cursor;
  EXPECT_TRUE(absolute.LoadFromStreamAbsolute(stream));
  stream.SetPosition(0);
  EXPECT_TRUE(relative.LoadFromStream(stream));
  stream.SetPosition(0);
  EXPECT_TRUE(cursor.LoadCursorFromStream(stream));
  for (const TAdvancedIcon* icon : {&absolute, &relative, &cursor}) {
    EXPECT_EQ(Widths(*icon), (std::vector<int>{16, 32}));
    ExpectDrawable(*icon);
  }
}

TEST(DamagedImages, TruncatedImageInAStreamCostsOnlyItself) {
  std::vector<uint8_t> ico = Ico({Good(16), Good(24), Good(32)});
  WriteU32LE(&ico[6 + 16 + 8], uint32_t(ico.size()));  // the second image runs past the end
  // The ICO inside a larger stream, for the reader with offsets relative to its start.
  std::vector<uint8_t> framed(10, 0xEE);
  framed.insert(framed.end(), ico.begin(), ico.end());
  SpanStream stream(framed);
  stream.SetPosition(10);
  TAdvancedIcon relative;
  EXPECT_TRUE(relative.LoadFromStream(stream));
  EXPECT_EQ(Widths(relative), (std::vector<int>{16, 32}));
  EXPECT_EQ(stream.Position(), 10 + 6 + 3 * 16) << "left after the directory";

  SpanStream plain(ico);
  TAdvancedCursor cursor;
  EXPECT_TRUE(cursor.LoadCursorFromStream(plain));
  EXPECT_EQ(Widths(cursor), (std::vector<int>{16, 32}));
}

TEST(DamagedImages, ImageRecordsStayInStepAndEndWithAReadError) {
  MemoryStream stream;
  auto writeRecord = [&](const std::vector<uint8_t>& data) {
    stream.WriteU8(12);
    TIconDirEntry entry;
    entry.dwBytesInRes = uint32_t(data.size());
    entry.Write(stream);
    stream.WriteBytes(data);
  };
  writeRecord(Good(16));
  for (const auto& damaged : DamagedImages()) writeRecord(damaged);
  writeRecord(Good(32));
  stream.WriteU8(12);  // a record whose data runs past the end
  TIconDirEntry tooLong;
  tooLong.dwBytesInRes = 1000;
  tooLong.Write(stream);
  stream.WriteBytes(std::vector<uint8_t>(100, 1));

  stream.SetPosition(0);
  TAdvancedIcon icon;
  std::vector<bool> kept;
  for (size_t i = 0; i < DamagedImages().size() + 3; ++i) {
    auto image = std::make_unique<TSubIcon>();
    image->LoadFromStream(stream);
    kept.push_back(image->HasData());
    if (image->HasData()) icon.Images().Add(std::move(image));
  }
  std::vector<bool> expected(kept.size(), false);
  expected[0] = expected[kept.size() - 2] = true;
  EXPECT_EQ(kept, expected);
  EXPECT_EQ(Widths(icon), (std::vector<int>{16, 32}));
  ExpectDrawable(icon);
  TSubIcon afterTheEnd;
  EXPECT_THROW(afterTheEnd.LoadFromStream(stream), EReadError);
}

TEST(DamagedImages, FilerRecordsDropDamagedImagesAndKeepTheRest) {
  MemoryStream stream;
  TFilerWriter writer(stream);
  writer.WriteInteger(int32_t(DamagedImages().size() + 2));
  auto writeRecord = [&](const std::vector<uint8_t>& data) {
    uint8_t bytes[1 + TIconDirEntry::kSize + 4] = {12};
    WriteU32LE(bytes + 1 + 8, uint32_t(data.size()));
    writer.Write(bytes, sizeof bytes);
    writer.Write(data.data(), data.size());
  };
  writeRecord(Good(16));
  for (const auto& damaged : DamagedImages()) writeRecord(damaged);
  writeRecord(Good(32));
  writer.WriteInteger(77);  // what follows the icon is read in step

  stream.SetPosition(0);
  TFilerReader reader(stream);
  TAdvancedIcon icon;
  icon.ReadData(reader);
  EXPECT_EQ(Widths(icon), (std::vector<int>{16, 32}));
  ExpectDrawable(icon);
  EXPECT_EQ(reader.ReadInteger(), 77);
}

TEST(DamagedImages, LoadersFromDataAndResourcesRefuseThem) {
  for (const auto& damaged : DamagedImages()) {
    TSubIcon image;
    MemoryStream data(damaged);
    EXPECT_THROW(image.LoadFromData(data), EInvalidImage);
    std::vector<uint8_t> cursor = {1, 0, 2, 0};
    cursor.insert(cursor.end(), damaged.begin(), damaged.end());
    MemoryStream resource(cursor);
    EXPECT_THROW(image.LoadFromResourceData(resource, true), EInvalidImage);
  }
  std::vector<uint8_t> riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'C', 'O', 'N'};
  std::vector<uint8_t> ico = Ico({Good(16), Dib(0x7FFFFFFF, 32, 8), Good(32)});
  riff.insert(riff.end(), {'i', 'c', 'o', 'n'});
  std::vector<uint8_t> size(4);
  WriteU32LE(size.data(), uint32_t(ico.size()));
  riff.insert(riff.end(), size.begin(), size.end());
  riff.insert(riff.end(), ico.begin(), ico.end());
  WriteU32LE(&riff[4], uint32_t(riff.size() - 8));
  TAdvancedIcon found;
  EXPECT_TRUE(found.ExtractFromRiffData(riff, 0, nullptr));
  EXPECT_EQ(Widths(found), (std::vector<int>{16, 32}));
}

TEST(DamagedImages, LimitsAreTheDocumentedOnes) {
  TAdvancedIcon icon;
  for (auto [width, height, bits] :
       {std::tuple{5999, 1, 1}, {1, 5999, 4}, {1, 1, 32}, {48, 3, 16}, {3, 48, 24}}) {
    auto image = std::make_unique<TSubIcon>();
    MemoryStream data(Dib(width, 2 * height, uint16_t(bits)));
    EXPECT_NO_THROW(image->LoadFromData(data)) << width << "x" << height << "x" << bits;
    icon.Images().Add(std::move(image));
  }
  std::vector<uint8_t> rle8 = Dib(16, 32, 8);
  rle8[16] = 1;
  rle8.resize(TBitmapInfoHeader::kSize + 256 * 4 + 2);
  rle8.back() = 1;  // end of bitmap
  auto image = std::make_unique<TSubIcon>();
  MemoryStream data(rle8);
  EXPECT_NO_THROW(image->LoadFromData(data));
  icon.Images().Add(std::move(image));
  ExpectDrawable(icon);
  EXPECT_TRUE(IsValidIconImageData(PngClaiming(4096, 1024)));
  EXPECT_TRUE(IsValidIconImageData(PngClaiming(2048, 2048)));
  EXPECT_FALSE(IsValidIconImageData(PngClaiming(4097, 1)));
  EXPECT_FALSE(IsValidIconImageData(PngClaiming(2049, 2048)));
  EXPECT_FALSE(IsValidIconImageData({}));
}

TEST(DamagedImages, HeldWithoutValidationTheyFailToDrawWithACatchableError) {
  TSubIcon image;
  image.SetData(Dib(0x7FFFFFFF, 32, 8));
  EXPECT_FALSE(image.IsDrawable());
  TBitmap canvas(16, 16, PixelFormat::Bits24), picture;
  EXPECT_THROW(image.GetBitmaps(&picture, nullptr, clWhite, nullptr), EInvalidImage);
  EXPECT_THROW(image.Draw(canvas, 0, 0), Exception);
  EXPECT_THROW(DrawFitted(canvas, 0, 0, false, true, clWhite, image, 16, 16), Exception);
  EXPECT_TRUE(image.GetPixelBits().empty());

  // A PNG whose header passes but whose pixel data is damaged draws blank at its size.
  std::vector<uint8_t> png = EncodePng(TBitmap(20, 10, PixelFormat::Bits32));
  png.resize(png.size() - 20);
  image.SetData(png);
  ASSERT_TRUE(image.IsDrawable());
  EXPECT_NO_THROW(image.GetBitmaps(nullptr, &picture, clWhite, nullptr));
  EXPECT_EQ(picture.Width(), 20);
  EXPECT_EQ(picture.Height(), 10);
}

}  // namespace
}  // namespace varnel

#include "graphics/pngcodec.h"

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/errors.h"
#include "support/corpus.h"

namespace varnel {
namespace {

std::vector<uint8_t> CorpusPng(const std::string& name) {
  return test::ReadCorpusFile("png/" + name);
}

uint8_t AlphaAt(const TBitmap& bitmap, int x, int y) {
  return bitmap.ScanLine(y)[4 * x + 3];
}

TEST(PngHeaderTest, ReadsIhdrWithoutDecoding) {
  auto header = ReadPngHeader(CorpusPng("basn3p01.png"));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 32u);
  EXPECT_EQ(header->height, 32u);
  EXPECT_EQ(header->bitDepth, 1);
  EXPECT_EQ(header->colorType, 3);
  std::vector<uint8_t> bytes = CorpusPng("basn6a16.png");
  EXPECT_EQ(ReadPngHeader(bytes)->bitDepth, 16);
  EXPECT_EQ(ReadPngHeader(bytes)->colorType, 6);
  EXPECT_FALSE(ReadPngHeader(std::span(bytes).first(20)));
  bytes[12] = 'X';
  EXPECT_FALSE(ReadPngHeader(bytes));
  EXPECT_TRUE(HasPngSignature(bytes));
  EXPECT_FALSE(HasPngSignature(std::span(bytes).first(7)));
}

TEST(PngDecodeTest, CorpusFilesDecodeToTheirNaturalFormats) {
  struct Case {
    const char* name;
    PixelFormat format;
    size_t paletteSize;
  };
  for (const Case& c :
       {Case{"basn0g01.png", PixelFormat::Bits1, 2}, Case{"basn0g08.png", PixelFormat::Bits8, 256},
        Case{"basn0g16.png", PixelFormat::Bits8, 256}, Case{"basn2c08.png", PixelFormat::Bits24, 0},
        Case{"basn2c16.png", PixelFormat::Bits24, 0}, Case{"basn3p01.png", PixelFormat::Bits1, 2},
        Case{"basn3p08.png", PixelFormat::Bits8, 256},
        Case{"ftbbn3p08.png", PixelFormat::Bits8, 246},
        Case{"basn4a08.png", PixelFormat::Bits32, 0}, Case{"basn6a08.png", PixelFormat::Bits32, 0},
        Case{"basn6a16.png", PixelFormat::Bits32, 0},
        Case{"ibasn6a08.png", PixelFormat::Bits32, 0}}) {
    SCOPED_TRACE(c.name);
    TBitmap bitmap = DecodePng(CorpusPng(c.name));
    EXPECT_EQ(bitmap.Format(), c.format);
    EXPECT_EQ(bitmap.Palette().size(), c.paletteSize);
    EXPECT_EQ(bitmap.Width(), 32);
    EXPECT_EQ(bitmap.Height(), 32);
    TBitmap rgba = DecodePngRgba(CorpusPng(c.name));
    EXPECT_EQ(rgba.Format(), PixelFormat::Bits32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(rgba.GetPixel(x, y), bitmap.GetPixel(x, y));
  }
}

TEST(PngDecodeTest, KnownPixelsOfThePngSuite) {
  // basn0g01: 1-bit grey, top-left black and the diagonal band white.
  TBitmap grey1 = DecodePng(CorpusPng("basn0g01.png"));
  EXPECT_EQ(grey1.GetPixel(0, 0), clWhite);
  EXPECT_EQ(grey1.GetPixel(31, 31), clBlack);
  // basn3p01: palette of two entries, EEFF22 and 22 66 FF.
  TBitmap pal1 = DecodePng(CorpusPng("basn3p01.png"));
  EXPECT_EQ(pal1.Palette()[0].ToColor(), RGB(0xEE, 0xFF, 0x22));
  EXPECT_EQ(pal1.Palette()[1].ToColor(), RGB(0x22, 0x66, 0xFF));
  // basn0g16: 16-bit grey keeps the high byte; the top-left sample is 0.
  EXPECT_EQ(DecodePng(CorpusPng("basn0g16.png")).GetPixel(0, 0), clBlack);
  // basn6a08: alpha runs from 0 at the left edge to 255 at the right edge along each row.
  TBitmap rgba = DecodePng(CorpusPng("basn6a08.png"));
  EXPECT_EQ(AlphaAt(rgba, 0, 0), 0);
  EXPECT_EQ(AlphaAt(rgba, 1, 0), 8);
  EXPECT_EQ(AlphaAt(rgba, 31, 0), 255);
  EXPECT_EQ(rgba.GetPixel(0, 1), RGB(255, 31, 8));
  // The interlaced twin decodes to the same pixels.
  EXPECT_EQ(DecodePng(CorpusPng("ibasn6a08.png")), rgba);
  // An opaque picture gets alpha 255 when forced to RGBA.
  EXPECT_EQ(AlphaAt(DecodePngRgba(CorpusPng("basn2c08.png")), 5, 5), 255);
}

TEST(PngDecodeTest, PaletteTransparencyShowsOnlyInRgba) {
  std::vector<uint8_t> bytes = CorpusPng("ftbbn3p08.png");
  TBitmap natural = DecodePng(bytes);
  TBitmap rgba = DecodePngRgba(bytes);
  int transparent = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) transparent += AlphaAt(rgba, x, y) == 0;
  EXPECT_GT(transparent, 0);
  EXPECT_EQ(natural.Format(), PixelFormat::Bits8);
}

TEST(PngEncodeTest, RgbaRoundTripIsExact) {
  TBitmap bitmap(5, 3, PixelFormat::Bits32);
  uint8_t value = 0;
  for (auto& byte : bitmap.Bits()) byte = value += 29;
  std::vector<uint8_t> png = EncodePng(bitmap);
  EXPECT_EQ(ReadPngHeader(png)->colorType, 6);
  EXPECT_EQ(DecodePng(png), bitmap);
}

TEST(PngEncodeTest, TrueColourFormatsBecomeRgb) {
  TBitmap bitmap(4, 4, PixelFormat::Bits24);
  bitmap.SetPixel(1, 2, RGB(10, 200, 30));
  std::vector<uint8_t> png = EncodePng(bitmap);
  EXPECT_EQ(ReadPngHeader(png)->colorType, 2);
  EXPECT_EQ(DecodePng(png), bitmap);
  TBitmap rgb16(3, 3, PixelFormat::Bits16);
  rgb16.SetPixel(2, 2, RGB(255, 0, 255));
  TBitmap decoded = DecodePng(EncodePng(rgb16));
  EXPECT_EQ(decoded.Format(), PixelFormat::Bits24);
  EXPECT_EQ(decoded.GetPixel(2, 2), RGB(255, 0, 255));
}

TEST(PngEncodeTest, PaletteImagesKeepDepthPaletteAndTransparentIndex) {
  for (PixelFormat format : {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8}) {
    SCOPED_TRACE(BitsOfFormat(format));
    TBitmap bitmap(9, 4, format);
    bitmap.SetPalette({{0, 0, 0, 0}, {255, 0, 0, 0}});
    bitmap.SetIndex(3, 1, 1);
    std::vector<uint8_t> png = EncodePng(bitmap, 0);
    EXPECT_EQ(ReadPngHeader(png)->bitDepth, BitsOfFormat(format));
    EXPECT_EQ(ReadPngHeader(png)->colorType, 3);
    EXPECT_EQ(DecodePng(png), bitmap);
    TBitmap rgba = DecodePngRgba(png);
    EXPECT_EQ(AlphaAt(rgba, 0, 0), 0);
    EXPECT_EQ(AlphaAt(rgba, 3, 1), 255);
    EXPECT_EQ(rgba.GetPixel(3, 1), RGB(0, 0, 255));
  }
}

TEST(PngEncodeTest, UsedIndicesBeyondThePaletteGetEntries) {
  TBitmap bitmap(2, 1, PixelFormat::Bits4);
  bitmap.SetPalette({{1, 2, 3, 0}});
  bitmap.SetIndex(1, 0, 5);
  TBitmap decoded = DecodePng(EncodePng(bitmap, 7));
  EXPECT_EQ(decoded.Palette().size(), 8u);
  EXPECT_EQ(decoded.GetIndex(1, 0), 5);
  EXPECT_THROW(EncodePng(TBitmap()), EInvalidGraphic);
}

// A PNG signature and IHDR chunk (with a correct CRC) claiming the given size, then an IEND.
std::vector<uint8_t> PngWithHeader(uint32_t width, uint32_t height, int depth, int colorType);

TEST(PngHostileTest, DamagedAndOversizedPicturesRaiseInvalidGraphic) {
  std::vector<uint8_t> good = CorpusPng("basn6a08.png");
  auto expectInvalid = [](std::span<const uint8_t> bytes, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_THROW(DecodePng(bytes), EInvalidGraphic);
    EXPECT_THROW(DecodePngRgba(bytes), EInvalidGraphic);
  };
  expectInvalid({}, "empty");
  expectInvalid(std::span(good).first(8), "signature only");
  expectInvalid(std::span(good).first(40), "header only");
  expectInvalid(std::span(good).first(good.size() - 30), "truncated data");
  std::vector<uint8_t> badCrc = good;
  badCrc[60] ^= 0x55;
  expectInvalid(badCrc, "damaged data");
  expectInvalid(PngWithHeader(65535, 65535, 8, 6), "huge picture");
  expectInvalid(PngWithHeader(70000, 1, 8, 6), "width over the limit");
  expectInvalid(PngWithHeader(4000, 4000, 8, 6), "more pixels than the data could hold");
  expectInvalid(PngWithHeader(0, 10, 8, 6), "zero width");
  expectInvalid(PngWithHeader(10, 10, 3, 2), "bad bit depth");
  expectInvalid(PngWithHeader(1, 1, 8, 3), "palette picture without a palette");
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

void AppendChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  size_t start = png.size();
  png.resize(start + 12 + data.size());
  WriteU32BE(&png[start], uint32_t(data.size()));
  std::copy(type, type + 4, png.begin() + start + 4);
  std::copy(data.begin(), data.end(), png.begin() + start + 8);
  WriteU32BE(&png[start + 8 + data.size()], Crc32(&png[start + 4], 4 + data.size()));
}

TEST(PngHeaderTest, CompleteChunksNeedImageDataAndAnEndWithinTheBytes) {
  std::vector<uint8_t> png = EncodePng(TBitmap(4, 4, PixelFormat::Bits32));
  EXPECT_TRUE(HasCompletePngChunks(png));
  // Cut after the header, inside the image data, and just before the end chunk's checksum.
  for (size_t cut : {size_t(33), png.size() - 20, png.size() - 1})
    EXPECT_FALSE(HasCompletePngChunks(std::span(png).first(cut))) << cut;
  std::vector<uint8_t> noImage(png.begin(), png.begin() + 33);
  AppendChunk(noImage, "IEND", {});
  EXPECT_FALSE(HasCompletePngChunks(noImage));
  std::vector<uint8_t> longChunk = png;
  WriteU32BE(&longChunk[33], 0xFFFFFFF0);  // the image data's length
  EXPECT_FALSE(HasCompletePngChunks(longChunk));
  EXPECT_FALSE(HasCompletePngChunks(std::span(png).subspan(1)));
}

std::vector<uint8_t> PngWithHeader(uint32_t width, uint32_t height, int depth, int colorType) {
  std::vector<uint8_t> png(kPngSignature, kPngSignature + 8);
  std::vector<uint8_t> ihdr(13, 0);
  WriteU32BE(&ihdr[0], width);
  WriteU32BE(&ihdr[4], height);
  ihdr[8] = uint8_t(depth);
  ihdr[9] = uint8_t(colorType);
  AppendChunk(png, "IHDR", ihdr);
  // A small IDAT (an empty stored deflate block) so that only the size checks can refuse it.
  AppendChunk(png, "IDAT", {0x78, 0x01, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01});
  AppendChunk(png, "IEND", {});
  return png;
}

}  // namespace
}  // namespace varnel

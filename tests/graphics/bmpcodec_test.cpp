#include "graphics/bmpcodec.h"

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"

namespace varnel {
namespace {

// The reference renderings were made with rounding of their own: channels may be off by a few.
constexpr int kReferenceTolerance = 5;

std::vector<uint8_t> LoadCorpusBytes(const std::string& name) {
  return test::ReadCorpusFile("bmp/" + name);
}

TBitmap LoadCorpusBmp(const std::string& name) {
  return LoadBmp(LoadCorpusBytes(name));
}

// Counts the pixels whose colours differ by more than tolerance in any channel.
int CountDifferentPixels(const TBitmap& a, const TBitmap& b, int tolerance = 0) {
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int different = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      TColor p = a.GetPixel(x, y), q = b.GetPixel(x, y);
      if (std::abs(GetRValue(p) - GetRValue(q)) > tolerance ||
          std::abs(GetGValue(p) - GetGValue(q)) > tolerance ||
          std::abs(GetBValue(p) - GetBValue(q)) > tolerance)
        ++different;
    }
  return different;
}

TEST(BmpCorpusTest, PalettedFilesMatchTheReferenceRendering) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  VARNEL_SKIP_WITHOUT_CORPUS("bmp/pal8.ref.png");
  TBitmap reference = DecodePng(test::ReadCorpusFile("bmp/pal8.ref.png"));
  for (const char* name : {"pal8.bmp", "pal8rle.bmp", "pal8topdown.bmp", "pal8os2.bmp"}) {
    SCOPED_TRACE(name);
    TBitmap bitmap = LoadCorpusBmp(name);
    EXPECT_EQ(bitmap.Format(), PixelFormat::Bits8);
    EXPECT_EQ(CountDifferentPixels(bitmap, reference, kReferenceTolerance), 0);
  }
  EXPECT_EQ(LoadCorpusBmp("pal8.bmp").Palette().size(), 252u);
  EXPECT_EQ(LoadCorpusBmp("pal8os2.bmp").Palette().size(), 256u);
}

TEST(BmpCorpusTest, TrueColourFilesMatchTheReferenceRendering) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  VARNEL_SKIP_WITHOUT_CORPUS("bmp/rgb24.ref.png");
  TBitmap reference = DecodePng(test::ReadCorpusFile("bmp/rgb24.ref.png"));
  for (const char* name : {"rgb24.bmp", "rgb32.bmp", "rgb32fakealpha.bmp"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CountDifferentPixels(LoadCorpusBmp(name), reference, kReferenceTolerance), 0);
  }
  // 5-6-5 loses low bits; full-scale channels still reach 255.
  TBitmap rgb16 = LoadCorpusBmp("rgb16-565.bmp");
  EXPECT_EQ(rgb16.Format(), PixelFormat::Bits16);
  EXPECT_EQ(CountDifferentPixels(rgb16, reference, 4), 0);
}

TEST(BmpCorpusTest, ThirtyTwoBitAlphaIsKeptInTheFourthByte) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  TBitmap plain = LoadCorpusBmp("rgb32.bmp");
  TBitmap fake = LoadCorpusBmp("rgb32fakealpha.bmp");
  TBitmap real = LoadCorpusBmp("rgba32.bmp");
  ASSERT_EQ(fake.Format(), PixelFormat::Bits32);
  ASSERT_EQ(real.Format(), PixelFormat::Bits32);
  // BI_RGB keeps whatever the fourth byte holds; the colours are those of the plain file.
  EXPECT_EQ(CountDifferentPixels(fake, plain), 0);
  EXPECT_NE(fake.ScanLine(0)[3], 0);
  // The bit-field file has its alpha in the top byte of its masks; it comes out in the fourth
  // byte, and where it is opaque the colours are those of the plain file.
  int opaque = 0, translucent = 0;
  for (int y = 0; y < real.Height(); ++y)
    for (int x = 0; x < real.Width(); ++x) {
      if (real.ScanLine(y)[4 * x + 3] != 255) {
        ++translucent;
        continue;
      }
      ++opaque;
      EXPECT_EQ(real.GetPixel(x, y), plain.GetPixel(x, y)) << x << "," << y;
    }
  EXPECT_GT(opaque, 0);
  EXPECT_GT(translucent, 0);
}

TEST(BmpCorpusTest, RunLengthFilesEqualTheirUncompressedTwins) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  EXPECT_EQ(LoadCorpusBmp("pal8rle.bmp"), LoadCorpusBmp("pal8.bmp"));
  EXPECT_EQ(LoadCorpusBmp("pal4rle.bmp"), LoadCorpusBmp("pal4.bmp"));
  EXPECT_EQ(LoadCorpusBmp("pal8topdown.bmp"), LoadCorpusBmp("pal8.bmp"));
}

TEST(BmpCorpusTest, SmallPalettesAndOddSizes) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  TBitmap pal1 = LoadCorpusBmp("pal1.bmp");
  EXPECT_EQ(pal1.Format(), PixelFormat::Bits1);
  EXPECT_EQ(pal1.Width(), 127);
  EXPECT_EQ(pal1.Palette().size(), 2u);
  TBitmap pal4 = LoadCorpusBmp("pal4.bmp");
  EXPECT_EQ(pal4.Palette().size(), 12u);
  TBitmap sample = LoadCorpusBmp("sample.bmp");  // version 5 header, 24 bits
  EXPECT_EQ(sample.Format(), PixelFormat::Bits24);
  EXPECT_EQ(sample.Width(), 23);
  EXPECT_EQ(sample.Height(), 42);
}

TEST(BmpRoundTripTest, EveryFormatReadsBackAsWritten) {
  for (PixelFormat format :
       {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8, PixelFormat::Bits15,
        PixelFormat::Bits16, PixelFormat::Bits24, PixelFormat::Bits32}) {
    SCOPED_TRACE(BitsOfFormat(format));
    TBitmap bitmap(7, 5, format);
    uint8_t value = 1;
    for (auto& byte : bitmap.Bits()) byte = value += 37;
    if (format == PixelFormat::Bits8) bitmap.SetPalette({{1, 2, 3, 0}, {4, 5, 6, 0}});
    std::vector<uint8_t> file = SaveBmp(bitmap);
    EXPECT_EQ(ReadU32LE(&file[2]), file.size());
    EXPECT_EQ(ReadU32LE(&file[14 + 20]), bitmap.Bits().size());
    EXPECT_EQ(LoadBmp(file), bitmap);
  }
}

TEST(BmpRoundTripTest, SixteenBitsWriteBitFieldsWithTheirMasks) {
  TBitmap bitmap(3, 2, PixelFormat::Bits16);
  bitmap.SetChannelMasks(0x0F00, 0x00F0, 0x000F);
  bitmap.SetPixel(1, 1, RGB(255, 0, 255));
  std::vector<uint8_t> file = SaveBmp(bitmap);
  EXPECT_EQ(ReadU32LE(&file[14 + 16]), 3u);  // BI_BITFIELDS
  EXPECT_EQ(ReadU32LE(&file[54]), 0x0F00u);
  TBitmap read = LoadBmp(file);
  EXPECT_EQ(read, bitmap);
  EXPECT_EQ(read.GetPixel(1, 1), RGB(255, 0, 255));
}

TEST(BmpRoundTripTest, EmptyBitmapsKeepTheirFormat) {
  TBitmap empty(0, 3, PixelFormat::Bits32);
  TBitmap read = LoadBmp(SaveBmp(empty));
  EXPECT_EQ(read, empty);
  EXPECT_TRUE(read.Empty());
}

TEST(BmpDibTest, LoadDibReportsWhereTheColourBitsStart) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  std::vector<uint8_t> file = SaveBmp(LoadCorpusBmp("pal4.bmp"));
  size_t offset = 0;
  TBitmap bitmap = LoadDib(std::span(file).subspan(14), &offset);
  EXPECT_EQ(offset, 40u + 12 * 4);
  EXPECT_EQ(bitmap.Palette().size(), 12u);
}

// A 40-byte-header BMP with the given fields and trailing payload bytes.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, int bits, uint32_t compression,
                             uint32_t colorsUsed, size_t payload) {
  std::vector<uint8_t> file(54 + payload, 0);
  file[0] = 'B';
  file[1] = 'M';
  WriteU32LE(&file[14], 40);
  WriteU32LE(&file[18], uint32_t(width));
  WriteU32LE(&file[22], uint32_t(height));
  WriteU16LE(&file[26], 1);
  WriteU16LE(&file[28], uint16_t(bits));
  WriteU32LE(&file[30], compression);
  WriteU32LE(&file[46], colorsUsed);
  return file;
}

TEST(BmpHostileTest, DamagedFilesRaiseInvalidGraphic) {
  std::vector<uint8_t> good = SaveBmp(TBitmap(4, 4, PixelFormat::Bits8));
  auto expectInvalid = [](std::vector<uint8_t> bytes, const char* what) {
    SCOPED_TRACE(what);
    try {
      LoadBmp(bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& error) {
      EXPECT_STREQ(error.what(), "Bitmap image is not valid");
    }
  };
  expectInvalid({}, "empty");
  expectInvalid(std::vector<uint8_t>(good.begin(), good.begin() + 30), "truncated header");
  expectInvalid(std::vector<uint8_t>(good.begin(), good.begin() + 60), "palette past the end");
  expectInvalid(std::vector<uint8_t>(good.begin(), good.end() - 1), "pixels past the end");
  expectInvalid(MakeBmp(4, 4, 8, 0, 0x40000000, 64), "huge colour count");
  expectInvalid(MakeBmp(100000, 1, 24, 0, 0, 64), "width over the limit");
  expectInvalid(MakeBmp(-4, 4, 24, 0, 0, 64), "negative width");
  expectInvalid(MakeBmp(4, INT32_MIN, 24, 0, 0, 64), "height INT32_MIN");
  expectInvalid(MakeBmp(65536, 65536, 32, 0, 0, 64), "huge and short");
  expectInvalid(MakeBmp(65536, 65536, 8, 1, 0, 1024 + 64), "huge RLE8");
  expectInvalid(MakeBmp(4, -4, 8, 1, 0, 1024 + 64), "top-down RLE");
  expectInvalid(MakeBmp(4, 4, 24, 1, 0, 1024), "RLE8 at 24 bits");
  expectInvalid(MakeBmp(4, 4, 3, 0, 0, 1024), "3 bits");
  expectInvalid(MakeBmp(4, 4, 16, 3, 0, 0), "masks past the end");
  std::vector<uint8_t> hugeHeader = good;
  WriteU32LE(&hugeHeader[14], 0xFFFFFFFF);
  expectInvalid(hugeHeader, "header size beyond the file");
  std::vector<uint8_t> oddHeader = good;
  WriteU32LE(&oddHeader[14], 20);
  expectInvalid(oddHeader, "header of an unknown size");
  std::vector<uint8_t> core = LoadCorpusBytes("pal8os2.bmp");
  expectInvalid(std::vector<uint8_t>(core.begin(), core.begin() + 14 + 12 + 300), "core palette");
  std::vector<uint8_t> badOffset = good;
  WriteU32LE(&badOffset[10], uint32_t(good.size() + 1));
  expectInvalid(badOffset, "pixel offset past the end");
  std::vector<uint8_t> badSignature = good;
  badSignature[0] = 'X';
  expectInvalid(badSignature, "signature");
}

TEST(BmpRleTest, EscapesAndOverrunsStayInsideTheBitmap) {
  // 4 x 3 RLE8: a run of 2, end of line, delta (1, 1) to x 1 of the third row from the
  // bottom, an absolute run of 3, a run of 255 pixels cut at the width, then the data ends
  // without an end-of-bitmap escape.
  std::vector<uint8_t> file = MakeBmp(4, 3, 8, 1, 2, 8 + 16);
  uint8_t palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
  std::copy(palette, palette + 8, file.begin() + 54);
  uint8_t data[] = {2, 1, 0, 0, 0, 2, 1, 1, 0, 3, 1, 1, 1, 0, 255, 1};
  std::copy(data, data + sizeof(data), file.begin() + 62);
  TBitmap bitmap = LoadBmp(file);
  auto row = [&](int y) {
    std::string text;
    for (int x = 0; x < 4; ++x) text += char('0' + bitmap.GetIndex(x, y));
    return text;
  };
  EXPECT_EQ(row(0), "0111");
  EXPECT_EQ(row(1), "0000");
  EXPECT_EQ(row(2), "1100");
}

TEST(BmpRleTest, FourBitAbsoluteRunsArePaddedToWords) {
  // 8 x 1 RLE4: an absolute run of 5 nibbles (3 bytes padded to 4), a run of 3 pixels
  // alternating 6 and 7, end of bitmap.
  std::vector<uint8_t> file = MakeBmp(8, 1, 4, 2, 0, 10);
  uint8_t data[] = {0, 5, 0x12, 0x34, 0x50, 0xEE, 3, 0x67, 0, 1};
  std::copy(data, data + sizeof(data), file.begin() + 54);
  WriteU32LE(&file[10], 54);
  TBitmap bitmap = LoadBmp(file);
  std::string row;
  for (int x = 0; x < 8; ++x) row += char('0' + bitmap.GetIndex(x, 0));
  EXPECT_EQ(row, "12345676");
}

TEST(BmpHeaderTest, TwoBitPixelsWidenToFourBits) {
  std::vector<uint8_t> file = MakeBmp(5, 1, 2, 0, 3, 12 + 4);
  uint8_t palette[12] = {0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0};
  std::copy(palette, palette + 12, file.begin() + 54);
  file[66] = 0b00011011;  // indices 0 1 2 3
  file[67] = 0b10000000;  // index 2
  TBitmap bitmap = LoadBmp(file);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bits4);
  EXPECT_EQ(bitmap.Palette().size(), 3u);
  EXPECT_EQ(bitmap.GetIndex(3, 0), 3);
  EXPECT_EQ(bitmap.GetIndex(4, 0), 2);
  EXPECT_EQ(bitmap.GetPixel(1, 0), RGB(0, 0, 255));
}

TEST(BmpHeaderTest, BitFieldsOfEveryHeaderVersion) {
  // 16 bits 4-4-4-4 in a version 4 (108-byte) header: the masks are inside the header.
  std::vector<uint8_t> v4(14 + 108 + 4, 0);
  v4[0] = 'B';
  v4[1] = 'M';
  WriteU32LE(&v4[14], 108);
  WriteU32LE(&v4[18], 1);
  WriteU32LE(&v4[22], 1);
  WriteU16LE(&v4[26], 1);
  WriteU16LE(&v4[28], 16);
  WriteU32LE(&v4[30], 3);
  WriteU32LE(&v4[54], 0x0F00);
  WriteU32LE(&v4[58], 0x00F0);
  WriteU32LE(&v4[62], 0x000F);
  WriteU16LE(&v4[122], 0x0F80);
  TBitmap bitmap = LoadBmp(v4);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bits16);
  EXPECT_EQ(bitmap.ChannelMasks()[0], 0x0F00u);
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(255, 0x88, 0));
  // 32 bits with an alpha mask after a 40-byte header (BI_ALPHABITFIELDS): channels move to
  // their DIB places, alpha to the fourth byte.
  std::vector<uint8_t> alpha = MakeBmp(1, 1, 32, 6, 0, 16 + 4);
  WriteU32LE(&alpha[54], 0x000000FF);
  WriteU32LE(&alpha[58], 0x0000FF00);
  WriteU32LE(&alpha[62], 0x00FF0000);
  WriteU32LE(&alpha[66], 0xFF000000);
  WriteU32LE(&alpha[70], 0x80332211);
  TBitmap rgba = LoadBmp(alpha);
  EXPECT_EQ(rgba.GetPixel(0, 0), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(rgba.ScanLine(0)[3], 0x80);
  // 16 bits 5-5-5 given as bit fields read as the 15-bit format.
  std::vector<uint8_t> rgb555 = MakeBmp(1, 1, 16, 3, 0, 12 + 4);
  WriteU32LE(&rgb555[54], 0x7C00);
  WriteU32LE(&rgb555[58], 0x03E0);
  WriteU32LE(&rgb555[62], 0x001F);
  EXPECT_EQ(LoadBmp(rgb555).Format(), PixelFormat::Bits15);
}

TEST(BmpHeaderTest, APixelOffsetInsideThePaletteCutsThePalette) {
  // biClrUsed 0 at 8 bits promises 256 entries, but the pixels start after two of them.
  std::vector<uint8_t> file = MakeBmp(1, 1, 8, 0, 0, 8 + 4);
  WriteU32LE(&file[10], 54 + 8);
  file[54 + 4] = 200;  // entry 1: blue 200
  file[62] = 1;
  TBitmap bitmap = LoadBmp(file);
  EXPECT_EQ(bitmap.Palette().size(), 2u);
  EXPECT_EQ(bitmap.GetPixel(0, 0), RGB(0, 0, 200));
}

}  // namespace
}  // namespace varnel

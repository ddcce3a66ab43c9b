// 32-bit BMP files with alpha: reading real files, writing, mask data after the pixels, and the
// registration as the BMP picture format.

#include "icons/bitmapfix32.h"

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/bmpcodec.h"
#include "graphics/pictureformats.h"
#include "icons/maskbits.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TBitmapFix32 LoadBytes(const std::vector<uint8_t>& bytes) {
  SpanStream stream(bytes);
  TBitmapFix32 bitmap;
  bitmap.LoadFromStream(stream);
  return bitmap;
}

bool AllOpaque(const TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.ScanLine(y)[4 * x + 3] != 255) return false;
  return true;
}

// The same pixels with every alpha byte set to 255.
TBitmap Opaque(TBitmap bitmap) {
  SetOpaque(bitmap);
  return bitmap;
}

TEST(BitmapFix32Test, ThirtyTwoBitFilesWithoutAlphaLoadOpaque) {
  VARNEL_SKIP_WITHOUT_CORPUS("bmp/rgb32.bmp");
  std::vector<uint8_t> file = test::ReadCorpusFile("bmp/rgb32.bmp");  // fourth bytes all 0
  TBitmap standard = LoadBmp(file);
  ASSERT_TRUE(AllAlphaZero(standard));
  TBitmapFix32 bitmap = LoadBytes(file);
  EXPECT_EQ(bitmap.Format(), PixelFormat::Bits32);
  EXPECT_TRUE(AllOpaque(bitmap));
  EXPECT_EQ(static_cast<const TBitmap&>(bitmap), Opaque(standard));
}

TEST(BitmapFix32Test, AlphaBytesAreKeptAsStored) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  for (const char* name : {"bmp/rgba32.bmp", "bmp/rgb32fakealpha.bmp"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> file = test::ReadCorpusFile(name);
    TBitmapFix32 bitmap = LoadBytes(file);
    EXPECT_EQ(static_cast<const TBitmap&>(bitmap), LoadBmp(file));
    EXPECT_FALSE(AllOpaque(bitmap));
  }
  for (const char* name : {"bmp/rgb24.bmp", "bmp/pal8.bmp", "bmp/pal4rle.bmp", "bmp/pal8os2.bmp"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> file = test::ReadCorpusFile(name);
    EXPECT_EQ(static_cast<const TBitmap&>(LoadBytes(file)), LoadBmp(file));
  }
}

TEST(BitmapFix32Test, SavesHeadersAndPixelsWithAlpha) {
  TBitmapFix32 bitmap(3, 2, PixelFormat::Bits32);
  for (int y = 0; y < 2; ++y)
    for (int k = 0; k < 12; ++k) bitmap.ScanLine(y)[k] = uint8_t(10 * y + k);
  MemoryStream stream;
  bitmap.SaveToStream(stream);
  const std::vector<uint8_t>& bytes = stream.Bytes();
  ASSERT_EQ(bytes.size(), 54u + 24u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(ReadU32LE(&bytes[2]), 78u);
  EXPECT_EQ(ReadU32LE(&bytes[6]), 0u);
  EXPECT_EQ(ReadU32LE(&bytes[10]), 54u);
  const uint32_t info[] = {40, 3, 2};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadU32LE(&bytes[14 + 4 * i]), info[i]);
  EXPECT_EQ(ReadU16LE(&bytes[26]), 1);
  EXPECT_EQ(ReadU16LE(&bytes[28]), 32);
  EXPECT_EQ(ReadU32LE(&bytes[30]), 0u);
  EXPECT_EQ(ReadU32LE(&bytes[34]), 24u);
  for (int offset = 38; offset < 54; offset += 4) EXPECT_EQ(ReadU32LE(&bytes[offset]), 0u);
  EXPECT_EQ(bytes[54], 10);  // bottom row first
  EXPECT_EQ(static_cast<const TBitmap&>(LoadBytes(bytes)), static_cast<const TBitmap&>(bitmap));

  TBitmapFix32 palette(5, 5, PixelFormat::Bits8);
  MemoryStream standard;
  palette.SaveToStream(standard);
  EXPECT_EQ(standard.Bytes(), SaveBmp(palette));
}

TEST(BitmapFix32Test, PixelsFollowedByAMaskAreReadWithoutIt) {
  TBitmapFix32 bitmap(2, 2, PixelFormat::Bits32);
  bitmap.Fill(RGB(1, 2, 3));
  bitmap.ScanLine(0)[3] = 99;
  MemoryStream stream;
  bitmap.SaveToStream(stream);
  std::vector<uint8_t> bytes = stream.TakeBytes();
  const uint32_t declared = 16 + 8;  // pixels, then a mask of two 4-byte rows
  WriteU32LE(&bytes[34], declared);
  bytes.insert(bytes.end(), {0xFF, 0, 0, 0, 0xFF, 0, 0, 0});
  bytes.insert(bytes.end(), {'n', 'e', 'x', 't'});
  SpanStream input(bytes);
  TBitmapFix32 read;
  read.LoadFromStream(input);
  EXPECT_EQ(static_cast<const TBitmap&>(read), static_cast<const TBitmap&>(bitmap));
  EXPECT_EQ(input.Position(), 54 + declared);
  // A declared size beyond the stream counts only what is there.
  WriteU32LE(&bytes[34], 1000000);
  SpanStream longer(bytes);
  read.LoadFromStream(longer);
  EXPECT_EQ(longer.Position(), int64_t(bytes.size()));
}

TEST(BitmapFix32Test, OtherFilesEndWhereTheirHeaderSays) {
  std::vector<uint8_t> bytes = SaveBmp(TBitmap(4, 4, PixelFormat::Bits24));
  size_t size = bytes.size();
  bytes.insert(bytes.end(), 10, 0xAA);
  bytes.insert(bytes.begin(), 5, 0x55);
  SpanStream stream(bytes);
  stream.SetPosition(5);
  TBitmapFix32 bitmap;
  bitmap.LoadFromStream(stream);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(stream.Position(), int64_t(5 + size));
}

TEST(BitmapFix32Test, DamagedFilesAreRefused) {
  VARNEL_SKIP_WITHOUT_CORPUS("bmp/rgba32.bmp");
  auto refuses = [](std::vector<uint8_t> bytes) {
    try {
      LoadBytes(bytes);
    } catch (const EInvalidGraphic& error) {
      return std::string(error.what()) == "Bitmap image is not valid";
    }
    return false;
  };
  EXPECT_TRUE(refuses({}));
  EXPECT_TRUE(refuses({'B'}));
  std::vector<uint8_t> file = test::ReadCorpusFile("bmp/rgba32.bmp");
  std::vector<uint8_t> notBm = file;
  notBm[0] = 'X';
  EXPECT_TRUE(refuses(notBm));
  EXPECT_TRUE(refuses(std::vector<uint8_t>(file.begin(), file.begin() + 60)));
  std::vector<uint8_t> huge = SaveBmp(TBitmap(2, 2, PixelFormat::Bits32));
  WriteU32LE(&huge[18], 60000);  // width and height far beyond the bytes
  WriteU32LE(&huge[22], 60000);
  WriteU32LE(&huge[34], 0xFFFFFFFF);
  EXPECT_TRUE(refuses(huge));
}

TEST(BitmapFix32Test, RegisteredAsTheBmpPictureFormat) {
  VARNEL_SKIP_WITHOUT_CORPUS("bmp/rgb32.bmp");
  RegisterBitmapFix32();
  const TPictureFormat* format = FindPictureFormat("BMP");
  ASSERT_TRUE(format);
  EXPECT_EQ(format->description, "Bitmap");
  std::vector<uint8_t> file = test::ReadCorpusFile("bmp/rgb32.bmp");
  SpanStream stream(file);
  EXPECT_TRUE(AllOpaque(format->load(stream)));
  ASSERT_TRUE(ClipboardBitmapFormat());
  MemoryStream saved;
  ClipboardBitmapFormat()->save(TBitmap(1, 1, PixelFormat::Bits32), saved);
  EXPECT_EQ(saved.Size(), 58);
}

}  // namespace
}  // namespace varnel

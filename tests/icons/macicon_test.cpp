// Mac icon families and resource forks built byte by byte: element rules, masks, ordering,
// the resource scan, and damaged data.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "icons/icnsplanes.h"
#include "icons/icnsreader.h"
#include "icons/icnswriter.h"
#include "icons/macicon.h"
#include "icons/macpalettes.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes U32(uint32_t value) {
  Bytes bytes(4);
  WriteU32BE(bytes.data(), value);
  return bytes;
}

Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

Bytes Element(std::string_view tag, const Bytes& data) {
  return Concat({Text(tag), U32(uint32_t(data.size() + 8)), data});
}

Bytes Family(std::initializer_list<Bytes> elements) {
  Bytes body = Concat(elements);
  return Concat({Text("icns"), U32(uint32_t(body.size() + 8)), body});
}

// One compressed plane of `count` equal bytes, in runs of 130.
Bytes FlatPlane(int count, uint8_t value) {
  Bytes plane;
  for (; count > 0; count -= 130)
    plane.insert(plane.end(), {uint8_t(std::min(count, 130) + 125), value});
  return plane;
}

Bytes RgbPlanes(int pixels, uint8_t red, uint8_t green, uint8_t blue) {
  return Concat({FlatPlane(pixels, red), FlatPlane(pixels, green), FlatPlane(pixels, blue)});
}

Bytes RgbaPng(int size, uint8_t alpha) {
  TBitmap bitmap(size, size, PixelFormat::Bits32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      bitmap.ScanLine(y)[4 * x + 3] = alpha, bitmap.ScanLine(y)[4 * x + 2] = 200;
  return EncodePng(bitmap);
}

const uint8_t* Pixel(const TBitmap& bitmap, int x, int y) {
  return bitmap.ScanLine(y) + 4 * x;
}

TEST(MacPaletteTest, EntriesAtTheBordersOfEachRange) {
  const auto& p256 = MacPalette256();
  ASSERT_EQ(p256.size(), 256u);
  auto rgb = [](const RGBQuad& q) { return uint32_t(q.red) << 16 | q.green << 8 | q.blue; };
  EXPECT_EQ(rgb(p256[0]), 0xFFFFFFu);
  EXPECT_EQ(rgb(p256[1]), 0xFFFFCCu);
  EXPECT_EQ(rgb(p256[6]), 0xFFCCFFu);
  EXPECT_EQ(rgb(p256[214]), 0x000033u);
  EXPECT_EQ(rgb(p256[215]), 0xEE0000u);
  EXPECT_EQ(rgb(p256[224]), 0x110000u);
  EXPECT_EQ(rgb(p256[225]), 0x00EE00u);
  EXPECT_EQ(rgb(p256[235]), 0x0000EEu);
  EXPECT_EQ(rgb(p256[245]), 0xEEEEEEu);
  EXPECT_EQ(rgb(p256[254]), 0x111111u);
  EXPECT_EQ(rgb(p256[255]), 0x000000u);
  const auto& p16 = MacPalette16();
  ASSERT_EQ(p16.size(), 16u);
  EXPECT_EQ(rgb(p16[1]), 0xFCF305u);
  EXPECT_EQ(rgb(p16[7]), 0x02ABEAu);
  EXPECT_EQ(rgb(p16[11]), 0x90713Au);
}

TEST(IcnsPlanesTest, RunsOvershootingAPlaneAndDataEndingEarly) {
  TBitmap bitmap(2, 2, PixelFormat::Bits32);
  // Red: one run of 5 for 4 pixels (the fifth byte is passed over). Green: 4 literals.
  // Blue: a literal run of 2 of which only one byte is there.
  Bytes data = {130, 10, 3, 1, 2, 3, 4, 1, 7};
  const PixelChannel rgb[] = {PixelChannel::Red, PixelChannel::Green, PixelChannel::Blue};
  EXPECT_EQ(DecodeIcnsPlanes(data, rgb, bitmap), data.size());
  EXPECT_EQ(Pixel(bitmap, 1, 1)[2], 10);
  EXPECT_EQ(Pixel(bitmap, 0, 0)[1], 1);
  EXPECT_EQ(Pixel(bitmap, 1, 1)[1], 4);
  EXPECT_EQ(Pixel(bitmap, 0, 0)[0], 7);
  EXPECT_EQ(Pixel(bitmap, 1, 0)[0], 0);
}

TEST(IcnsReaderTest, UnknownElementsAreSkippedAndABadLengthEndsTheReading) {
  Bytes family = Family({Element("icnV", U32(0)), Element("info", Text("<plist/>")),
                         Element("is32", RgbPlanes(256, 255, 0, 0)), Text("il32"), U32(4),
                         Element("il32", RgbPlanes(1024, 0, 255, 0))});
  SpanStream stream(family);
  stream.SetPosition(4);
  std::vector<MacIconPicture> pictures = ReadIcnsElements(stream);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].color.Width(), 16);
  EXPECT_EQ(pictures[0].color.GetPixel(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(pictures[0].color, 5, 5)[3], 255);
  // An element running past the end of the data ends the reading too.
  Bytes truncated = Family({Element("is32", RgbPlanes(256, 1, 2, 3))});
  WriteU32BE(&truncated[12], 5000);
  EXPECT_TRUE(ReadIcnsFamily(truncated).empty());
}

TEST(IcnsReaderTest, IndexedElementsNeedTheirExactLengthAndPairWithBitMasks) {
  Bytes icl8(1024, 0x23), shortIcl8(1023, 0x23), icl4(512, 0x1F);
  // ICN#: image all black; mask opaque on the top 16 rows only.
  Bytes icnHash(256, 0xFF);
  std::fill(icnHash.begin() + 128 + 64, icnHash.end(), 0x00);
  Bytes family = Family({Element("icl8", shortIcl8), Element("icl4", icl4),
                         Element("ICN#", icnHash), Element("icl8", icl8)});
  std::vector<MacIconPicture> pictures = ReadIcnsFamily(family);
  ASSERT_EQ(pictures.size(), 3u);  // the 1023-byte icl8 is dropped
  const MacIconPicture& eight = pictures[0];
  EXPECT_EQ(eight.color.Format(), PixelFormat::Bits8);
  ASSERT_TRUE(eight.mask.has_value());
  EXPECT_EQ(eight.mask->GetIndex(0, 0), 0);                      // opaque
  EXPECT_EQ(eight.mask->GetIndex(0, 20), 1);                     // transparent
  EXPECT_EQ(eight.color.GetPixel(0, 0), RGB(0xFF, 0x00, 0x00));  // entry 0x23
  EXPECT_EQ(eight.color.GetPixel(0, 20), clBlack);
  // The 4-bit picture has the size of the last one that took a mask: it gets none.
  EXPECT_EQ(pictures[1].color.Format(), PixelFormat::Bits4);
  EXPECT_FALSE(pictures[1].mask.has_value());
  EXPECT_EQ(pictures[1].color.GetPixel(0, 0), RGB(0xFC, 0xF3, 0x05));
  EXPECT_EQ(pictures[1].color.GetPixel(1, 0), clBlack);
  EXPECT_EQ(pictures[2].color.Format(), PixelFormat::Bits1);
}

TEST(IcnsReaderTest, AlphaMasksAndTheirOwnAlpha) {
  Bytes mask(1024, 0x80);
  mask[0] = 0;
  Bytes argb = Concat({Text("ARGB"), FlatPlane(256, 0x40), RgbPlanes(256, 1, 2, 3)});
  Bytes family = Family({Element("l8mk", mask), Element("il32", RgbPlanes(1024, 255, 255, 255)),
                         Element("ic04", argb), Element("s8mk", Bytes(256, 0))});
  std::vector<MacIconPicture> pictures = ReadIcnsFamily(family);
  ASSERT_EQ(pictures.size(), 2u);
  const TBitmap& large = pictures[0].color;
  EXPECT_EQ(Pixel(large, 1, 0)[3], 0x80);
  EXPECT_EQ(large.GetPixel(1, 0), clWhite);
  EXPECT_EQ(Pixel(large, 0, 0)[3], 0);
  EXPECT_EQ(large.GetPixel(0, 0), clBlack);  // white under alpha 0 is cleared
  // The ARGB picture keeps its own alpha: the s8mk beside it is not laid over it.
  EXPECT_EQ(Pixel(pictures[1].color, 3, 3)[3], 0x40);
  EXPECT_EQ(pictures[1].color.GetPixel(3, 3), RGB(1, 2, 3));
}

TEST(IcnsReaderTest, ImportOrdersBySizeAndPacksLargeAndPngImages) {
  Bytes it32 = Concat({Bytes(4, 0), RgbPlanes(128 * 128, 9, 9, 9)});
  Bytes family =
      Family({Element("is32", RgbPlanes(256, 1, 1, 1)), Element("ic08", RgbaPng(256, 255)),
              Element("il32", RgbPlanes(1024, 2, 2, 2)), Element("it32", it32),
              Element("icp4", RgbaPng(16, 100))});
  TAdvancedIcon icon;
  ImportMacIconBytes(family, icon);
  std::vector<std::pair<int, bool>> images;
  for (const auto& image : icon.Images()) images.emplace_back(image->ImageWidth(), image->Packed());
  EXPECT_EQ(images, (std::vector<std::pair<int, bool>>{
                        {256, true}, {128, false}, {32, false}, {16, false}, {16, true}}));
  EXPECT_EQ(icon.Images()[0]->BitsPerPixel(), 32);
  EXPECT_TRUE(icon.Images()[0]->IsPng());
}

TEST(IcnsReaderTest, DamagedCompressedElementsRaiseAndHostileLengthsStop) {
  Bytes png = RgbaPng(256, 255);
  png.resize(png.size() / 2);
  EXPECT_THROW(ReadIcnsFamily(Family({Element("ic08", png)})), EInvalidGraphic);
  Bytes jp2 = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A, 0, 0, 0, 9};
  EXPECT_THROW(ReadIcnsFamily(Family({Element("ic09", jp2)})), EInvalidGraphic);
  EXPECT_THROW(ReadIcnsFamily(Family({Element("ic04", Text("BGRA"))})), EInvalidGraphic);
  EXPECT_THROW(ReadIcnsFamily(Family({Element("ic11", Bytes(40, 1))})), EInvalidGraphic);
  Bytes huge = Concat({Text("icns"), U32(0xFFFFFFFF), Text("is32"), U32(0xFFFFFFF0)});
  EXPECT_TRUE(ReadIcnsFamily(huge).empty());
  EXPECT_TRUE(ReadIcnsFamily(Text("icns")).empty());
}

// A 32-pixel icon of one PNG image, written as a family.
Bytes IcnsOfPng(const Bytes& png) {
  auto image = std::make_unique<TSubIcon>();
  SpanStream stream(png);
  image->LoadFromData(stream);
  TAdvancedIcon icon;
  icon.Images().Add(std::move(image));
  return EncodeIcns(icon);
}

TEST(IcnsWriterTest, StoredPngIsKeptOnlyWhenItDecodes) {
  Bytes sound = RgbaPng(32, 255);
  Bytes written = IcnsOfPng(sound);
  EXPECT_NE(std::search(written.begin(), written.end(), sound.begin(), sound.end()), written.end());
  // A damaged header checksum: the image loads from its header, but libpng refuses the data.
  Bytes damaged = sound;
  damaged[32] ^= 0xFF;
  ASSERT_THROW(DecodePngRgba(damaged), EInvalidGraphic);
  written = IcnsOfPng(damaged);
  EXPECT_NO_THROW(ReadIcnsFamily(written));
  EXPECT_EQ(std::search(written.begin(), written.end(), damaged.begin(), damaged.end()),
            written.end());
}

TEST(IcnsReaderTest, TruncatedCorpusJpeg2000ElementRaises) {
  VARNEL_SKIP_WITHOUT_CORPUS("icns/test-jp2.icns");
  Bytes file = test::ReadCorpusFile("icns/test-jp2.icns");
  EXPECT_EQ(ReadIcnsFamily(file).size(), 7u);
  file.resize(file.size() - 100);
  WriteU32BE(&file[4], uint32_t(file.size()));
  size_t last = 8;
  while (last + ReadU32BE(&file[last + 4]) < file.size()) last += ReadU32BE(&file[last + 4]);
  WriteU32BE(&file[last + 4], uint32_t(file.size() - last));
  EXPECT_THROW(ReadIcnsFamily(file), EInvalidGraphic);
}

// The images of the corpus families, as "WxHxBPP" in import order.
std::string ImageList(const TAdvancedIcon& icon) {
  std::string list;
  for (const auto& image : icon.Images())
    list += std::to_string(image->ImageWidth()) + "x" + std::to_string(image->ImageHeight()) + "x" +
            std::to_string(image->BitsPerPixel()) + (image->Packed() ? "p " : " ");
  return list;
}

TEST(MacIconCorpusTest, FamiliesGiveTheirImagesInOrder) {
  struct Case {
    const char* file;
    const char* images;
  };
  const Case cases[] = {
      {"icns/test-legacy.icns",
       "48x48x8 32x32x8 16x16x8 16x12x8 48x48x4 32x32x4 16x16x4 16x12x4 48x48x1 32x32x1 "
       "16x16x1 16x12x1 "},
      {"icns/test-32bit.icns", "128x128x32 48x48x32 32x32x32 16x16x32 "},
      {"icns/test1.icns", "128x128x32 "},
      {"icns/icp4rgb.icns", "32x32x32 16x16x32 "},
      {"icns/pillow3.icns",
       "1024x1024x32p 512x512x32p 512x512x32p 256x256x32p 256x256x32p 128x128x32 64x64x32 "
       "32x32x32 "},
      // only variant families: the first one ("drop") gives its picture
      {"icns/test-variants.icns", "128x128x8p "},
  };
  for (const Case& c : cases) {
    VARNEL_SKIP_WITHOUT_CORPUS(c.file);
    TAdvancedIcon icon;
    ImportMacIcon(test::CorpusPath(c.file), icon);
    EXPECT_EQ(ImageList(icon), c.images) << c.file;
  }
}

TEST(MacIconCorpusTest, LargestPillowImageIsATransparentCornerPng) {
  VARNEL_SKIP_WITHOUT_CORPUS("icns/pillow.icns", "icns/test-32bit.icns");
  TAdvancedIcon icon;
  ImportMacIcon(test::CorpusPath("icns/pillow.icns"), icon);
  const TSubIcon& largest = *icon.Images()[0];
  ASSERT_EQ(largest.ImageWidth(), 1024);
  EXPECT_TRUE(largest.IsPng());
  TBitmap pixels;
  largest.AssignTo(pixels);
  EXPECT_EQ(pixels.ScanLine(0)[3], 0);
  EXPECT_EQ(pixels.GetPixel(0, 0), clBlack);
  // The 16-pixel is32 takes s8mk as its alpha: its corner is transparent, its middle opaque.
  ImportMacIcon(test::CorpusPath("icns/test-32bit.icns"), icon);
  icon.Images()[3]->AssignTo(pixels);
  EXPECT_EQ(pixels.ScanLine(0)[3], 0);
  EXPECT_EQ(pixels.ScanLine(8)[4 * 8 + 3], 255);
}

// A resource fork: 256 bytes of header, then the blocks.
Bytes Fork(std::initializer_list<Bytes> blocks, bool appleDouble = false) {
  Bytes file(appleDouble ? 338 : 256, 0);
  if (appleDouble) file[1] = 0x05, file[2] = 0x16, file[3] = 0x07;
  for (const Bytes& block : blocks) file = Concat({file, U32(uint32_t(block.size())), block});
  return file;
}

TEST(MacResourceForkTest, BlocksAreRecognisedByLength) {
  Bytes text(64, 0);
  std::copy_n("TEXT", 4, text.begin() + 10);
  Bytes icnHash(256, 0xFF), ics8(256, 0x05), icl8(1024, 0x10);
  std::fill(icnHash.begin() + 128, icnHash.end(), 0x0F);
  Bytes file = Fork({Bytes(40, 1), text, icnHash, ics8, icl8, icl8});
  file.insert(file.begin() + 256, {0xFF, 0xFF, 0xFF, 0xFF});  // not a length: skipped by 4
  std::vector<MacIconPicture> pictures = ReadMacIconBytes(file);
  ASSERT_EQ(pictures.size(), 3u);  // ICN#, ics8 and one icl8 (the repeat dropped); no TEXT
  EXPECT_EQ(pictures[0].color.Format(), PixelFormat::Bits1);
  EXPECT_EQ(pictures[1].color.Width(), 16);
  EXPECT_FALSE(pictures[1].mask.has_value());
  ASSERT_TRUE(pictures[2].mask.has_value());  // icl8 takes the ICN# mask
  EXPECT_EQ(pictures[2].color.GetPixel(0, 0), clBlack);
  EXPECT_EQ(pictures[2].color.GetPixel(7, 0), RGB(0xFF, 0x99, 0x33));
  EXPECT_TRUE(ReadMacIconBytes(Fork({text})).empty());
}

TEST(MacResourceForkTest, AppleDoubleAndEmbeddedFamily) {
  Bytes family =
      Family({Element("is32", RgbPlanes(256, 1, 2, 3)), Element("icl8", Bytes(1024, 7))});
  Bytes file = Fork({Bytes(1024, 0x10), Bytes(128, 0x11), family}, true);
  std::vector<MacIconPicture> pictures = ReadMacIconBytes(file);
  // The fork's icl8 gives way to the family's; its ics4 is added after the family's pictures.
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[0].color.GetIndex(0, 0), 7);
  EXPECT_EQ(pictures[1].color.Format(), PixelFormat::Bits32);
  EXPECT_EQ(pictures[2].color.Format(), PixelFormat::Bits4);
  // Read as a plain fork (no AppleDouble magic) the scan starts elsewhere and finds nothing.
  file[1] = 0;
  EXPECT_TRUE(ReadMacIconBytes(file).empty());
}

}  // namespace
}  // namespace varnel

#include "icons/psdimage.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/errors.h"
#include "icons/packbits.h"
#include "icons/psdfiles.h"
#include "magickreference.h"
#include "support/corpus.h"

namespace varnel {
namespace {

// Builds Photoshop documents for the tests, big-endian as the format is.
class DocumentBuilder {
 public:
  DocumentBuilder& U16(int v) {
    bytes.push_back(uint8_t(v >> 8));
    bytes.push_back(uint8_t(v));
    return *this;
  }
  DocumentBuilder& U32(int64_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(v >> shift));
    return *this;
  }
  DocumentBuilder& Text(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  DocumentBuilder& Bytes(std::initializer_list<uint8_t> values) {
    bytes.insert(bytes.end(), values);
    return *this;
  }
  // Header, empty colour-mode data and image resources.
  DocumentBuilder& Header(int channels, int height, int width, int mode) {
    Text("8BPS").U16(1).U32(0).U16(0).U16(channels).U32(height).U32(width).U16(8).U16(mode);
    return U32(0).U32(0);
  }
  std::vector<uint8_t> bytes;
};

TPSDImage Read(const std::vector<uint8_t>& bytes) {
  SpanStream stream(bytes);
  TPSDImage document;
  document.LoadFromStream(stream);
  return document;
}

RGBQuad PixelAt(const TBitmap& bitmap, int x, int y) {
  RGBQuad pixel{};
  std::memcpy(&pixel, bitmap.ScanLine(y) + x * bitmap.BitsPerPixel() / 8,
              size_t(bitmap.BitsPerPixel() / 8));
  return pixel;
}

TEST(PackBitsTest, LiteralsRunsAndBounds) {
  std::vector<uint8_t> out(6);
  // 2 literals, a run of 3, the no-op -128, then a run cut at the end of the row.
  std::vector<uint8_t> packed = {1, 'a', 'b', 0xFE, 'c', 0x80, 0xFD, 'd'};
  EXPECT_EQ(UnpackBits(packed, out), 6u);
  EXPECT_EQ(std::string(out.begin(), out.end()), "abcccd");
  // A literal count past the data copies what is there.
  std::vector<uint8_t> shortLiteral = {5, 'x'};
  std::vector<uint8_t> small(4);
  EXPECT_EQ(UnpackBits(shortLiteral, small), 1u);
}

TEST(PsdReadTest, RgbWithAndWithoutAlphaAndCmyk) {
  DocumentBuilder rgba;
  rgba.Header(4, 1, 2, 3).U32(0).U16(0).Bytes({10, 11, 20, 21, 30, 31, 0, 255});
  TPSDImage document = Read(rgba.bytes);
  ASSERT_EQ(document.Format(), PixelFormat::Bits32);
  EXPECT_EQ(PixelAt(document, 0, 0), (RGBQuad{30, 20, 10, 0}));
  EXPECT_EQ(PixelAt(document, 1, 0), (RGBQuad{31, 21, 11, 255}));
  EXPECT_TRUE(document.Layers.empty());

  DocumentBuilder rgb;
  rgb.Header(3, 1, 1, 3).U32(0).U16(1).U16(2).U16(2).U16(2).Bytes({0, 1, 0, 2, 0, 3});
  document = Read(rgb.bytes);
  ASSERT_EQ(document.Format(), PixelFormat::Bits24);
  EXPECT_EQ(PixelAt(document, 0, 0), (RGBQuad{3, 2, 1, 0}));

  // Pure cyan ink: stored samples are 255 minus the ink.
  DocumentBuilder cmyk;
  cmyk.Header(4, 1, 1, 4).U32(0).U16(0).Bytes({0, 255, 255, 255});
  document = Read(cmyk.bytes);
  ASSERT_EQ(document.Format(), PixelFormat::Bits24);
  EXPECT_EQ(PixelAt(document, 0, 0), (RGBQuad{255, 255, 0, 0}));
}

TEST(PsdReadTest, GreyIndexedAndBitmapPalettes) {
  DocumentBuilder indexed;
  indexed.Text("8BPS").U16(1).U32(0).U16(0).U16(1).U32(1).U32(1).U16(8).U16(2).U32(768);
  for (int i = 0; i < 768; ++i) indexed.bytes.push_back(uint8_t(i / 256 * 100 + 1));
  indexed.U32(0).U32(0).U16(0).Bytes({7});
  TPSDImage document = Read(indexed.bytes);
  EXPECT_EQ(document.GetPixel(0, 0), RGB(1, 101, 201));

  DocumentBuilder bitmap;
  bitmap.Text("8BPS").U16(1).U32(0).U16(0).U16(1).U32(1).U32(9).U16(1).U16(0);
  bitmap.U32(0).U32(0).U32(0).U16(0).Bytes({0x80, 0x80});
  document = Read(bitmap.bytes);
  EXPECT_EQ(document.GetPixel(0, 0), clBlack);
  EXPECT_EQ(document.GetPixel(1, 0), clWhite);
  EXPECT_EQ(document.GetPixel(8, 0), clBlack);
}

TEST(PsdReadTest, BadDocumentsFailCleanly) {
  EXPECT_THROW(
      {
        try {
          Read({'8', 'B', 'P', 'X', 0, 1, 0, 0, 0, 0, 0, 0, 0,
                3,   0,   0,   0,   1, 0, 0, 0, 1, 0, 8, 0, 3});
        } catch (const EInvalidGraphic& error) {
          EXPECT_STREQ(error.what(), "Invalid stream format");
          throw;
        }
      },
      EInvalidGraphic);
  DocumentBuilder truncated;
  truncated.Header(3, 2, 2, 3).U32(0).U16(0).Bytes({1, 2, 3});
  EXPECT_THROW(Read(truncated.bytes), EReadError);
  DocumentBuilder tooFewChannels;
  tooFewChannels.Header(2, 1, 1, 3).U32(0).U16(0).Bytes({1, 2});
  EXPECT_THROW(Read(tooFewChannels.bytes), EInvalidGraphic);
  DocumentBuilder noChannels;  // a packed grey picture with no row counts to read
  noChannels.Header(0, 2, 2, 1).U32(0).U16(1).Bytes({0, 0, 0, 0});
  EXPECT_THROW(Read(noChannels.bytes), EInvalidGraphic);
  // Row counts that claim more than the file holds, and a huge picture in a tiny file.
  DocumentBuilder counts;
  counts.Header(1, 1, 4, 1).U32(0).U16(1).U16(60000).Bytes({0});
  EXPECT_THROW(Read(counts.bytes), EReadError);
  DocumentBuilder huge;
  huge.Header(3, 30000, 30000, 3).U32(0).U16(1);
  EXPECT_THROW(Read(huge.bytes), EReadError);
}

// A document of 4 x 4 with one layer record built by the caller's channels.
std::vector<uint8_t> LayeredDocument(int top, int left, const std::vector<int>& ids,
                                     const std::vector<std::vector<uint8_t>>& channelData,
                                     int size = 2) {
  DocumentBuilder records;
  records.U16(1).U32(top).U32(left).U32(top + size).U32(left + size).U16(int(ids.size()));
  for (size_t i = 0; i < ids.size(); ++i)
    records.U16(ids[i] & 0xFFFF).U32(int64_t(channelData[i].size()) + 2);
  records.Text("8BIMnorm").Bytes({255, 0, 0, 0}).U32(0);
  for (const auto& data : channelData)
    records.U16(0).bytes.insert(records.bytes.end(), data.begin(), data.end());
  DocumentBuilder document;
  document.Header(3, 4, 4, 3)
      .U32(int64_t(records.bytes.size()) + 4)
      .U32(int64_t(records.bytes.size()));
  document.bytes.insert(document.bytes.end(), records.bytes.begin(), records.bytes.end());
  document.U16(0).bytes.resize(document.bytes.size() + 48, 9);
  return document.bytes;
}

TEST(PsdLayerTest, LayerPartlyOutsideKeepsOnlyTheOverlap) {
  std::vector<uint8_t> red = {1, 2, 3, 4}, green = {5, 6, 7, 8}, blue = {9, 10, 11, 12},
                       alpha = {255, 255, 255, 128};
  TPSDImage document = Read(LayeredDocument(-1, 3, {0, 1, 2, -1}, {red, green, blue, alpha}));
  ASSERT_EQ(document.Layers.size(), 1u);
  TBitmap layer;
  document.GetLayerBitmap(0, layer);
  ASSERT_EQ(layer.Width(), 4);
  ASSERT_EQ(layer.Format(), PixelFormat::Bits32);
  // Only the layer's bottom-left sample (row 1, column 0) lands inside, at (3, 0).
  EXPECT_EQ(PixelAt(layer, 3, 0), (RGBQuad{11, 7, 3, 255}));
  EXPECT_EQ(PixelAt(layer, 2, 0), RGBQuad{});
  EXPECT_EQ(PixelAt(layer, 3, 1), RGBQuad{});
  std::vector<TBitmap> pictures = PsdPictures(document);
  ASSERT_EQ(pictures.size(), 1u);  // one layer: that layer alone
  EXPECT_EQ(pictures[0], layer);
}

TEST(PsdLayerTest, ChannelCountsDecideTheLayerPicture) {
  std::vector<uint8_t> grey = {10, 20, 30, 40}, alpha = {255, 0, 255, 0};
  TPSDImage document = Read(LayeredDocument(0, 0, {0, -1}, {grey, alpha}));
  TBitmap layer;
  document.GetLayerBitmap(0, layer);
  EXPECT_EQ(PixelAt(layer, 0, 1), (RGBQuad{30, 30, 30, 255}));
  EXPECT_EQ(PixelAt(layer, 1, 1).reserved, 0);

  document = Read(LayeredDocument(0, 0, {0}, {grey}));
  document.GetLayerBitmap(0, layer);
  EXPECT_EQ(layer.Width(), 0);
  // The layer gives no picture: the composite stands for it.
  ASSERT_EQ(PsdPictures(document).size(), 1u);
  EXPECT_EQ(PsdPictures(document)[0].Format(), PixelFormat::Bits24);
}

TEST(PsdCorpusTest, CompositesEqualImageMagick) {
  auto files = test::CorpusFiles("psd", {".psd"});
  VARNEL_SKIP_WITHOUT_FILES(files, "Photoshop files");
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    std::vector<uint8_t> bytes = test::ReadCorpusFile(file.substr(test::CorpusDir().size() + 1));
    TPSDImage document = Read(bytes);
    auto expected = test::MagickPicture(file, 0);
    if (!expected) continue;
    // Exceptions: 16-bit samples are read by their high byte, where ImageMagick rounds (one
    // step apart at most); the composite of a grey or CMYK document is read without the alpha
    // channel ImageMagick adds, so only the pixels it shows opaque compare.
    test::Comparison comparison;
    if (document.Header.Depth == 16) comparison.tolerance = 1;
    comparison.opaqueOnly =
        document.Header.Mode != 3 && document.Header.Channels > 1 + 3 * (document.Header.Mode == 4);
    EXPECT_EQ(test::FirstDifference(test::RgbaOf(document), *expected, comparison), "");
  }
}

TEST(PsdCorpusTest, LayerCountsAndPlacement) {
  VARNEL_SKIP_WITHOUT_CORPUS("psd/hopper.psd", "psd/negative_layer_count.psd",
                             "psd/negative_top_left_layer.psd", "psd/five_channels.psd");
  TPSDImage document = Read(test::ReadCorpusFile("psd/hopper.psd"));
  EXPECT_EQ(document.Layers.size(), 2u);
  EXPECT_EQ(PsdPictures(document).size(), 3u);  // composite, then both layers
  EXPECT_EQ(Read(test::ReadCorpusFile("psd/negative_layer_count.psd")).Layers.size(), 2u);
  document = Read(test::ReadCorpusFile("psd/negative_top_left_layer.psd"));
  ASSERT_EQ(document.Layers.size(), 1u);
  EXPECT_EQ(document.Layers[0].Left, -50);
  EXPECT_EQ(document.Layers[0].Top, -50);
  EXPECT_EQ(document.Layers[0].Right, 50);
  document = Read(test::ReadCorpusFile("psd/five_channels.psd"));
  EXPECT_EQ(document.Layers[0].Channels.size(), 5u);
}

TEST(PsdCorpusTest, SizedPicturesAreStretchedOntoWhite) {
  VARNEL_SKIP_WITHOUT_CORPUS("psd/hopper.psd");
  TSubIconList images;
  LoadPsdFileSized(images, test::CorpusPath("psd/hopper.psd"), 40, true, 20);
  ASSERT_EQ(images.Count(), 3);  // the composite and both layers
  for (const auto& image : images) {
    EXPECT_EQ(image->ImageWidth(), 40);
    EXPECT_EQ(image->ImageHeight(), 20);
  }
  // a square picture in a 40 x 20 target keeps its proportions: white beside it
  TBitmap color;
  images[0]->GetBitmaps(nullptr, &color, clNone, nullptr);
  EXPECT_EQ(color.GetPixel(0, 10), clWhite);
  EXPECT_EQ(color.GetPixel(39, 10), clWhite);
}

}  // namespace
}  // namespace varnel

// Resampling filters: kernels, contributor lists and whole pictures, checked against values
// computed by an independent reference implementation (kept as constants here).

#include "graphics/resample.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/errors.h"
#include "graphics/canvas.h"
#include "graphics/resamplefilters.h"

namespace varnel {
namespace {

const double kKernelX[] = {0.0, 0.2, 0.5, 0.75, 1.0, 1.3, 1.5, 1.75, 2.0, 2.5, -0.5, 0.5000001};
const double kKernelValues[8][12] = {
    {1.0, 0.8, 0.5, 0.25, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.5, 0.49999990000000005},
    {1.0, 0.896, 0.5, 0.15625, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.5, 0.49999985},
    {0.75, 0.71, 0.5, 0.28125, 0.125, 0.01999999999999999, 0.0, 0.0, 0.0, 0.0, 0.5,
     0.49999990000000505},
    {0.6666666666666666, 0.6306666666666666, 0.47916666666666663, 0.31510416666666663,
     0.16666666666666666, 0.05716666666666665, 0.020833333333333332, 0.0026041666666666665, 0.0,
     0.0, 0.47916666666666663, 0.4791666041666642},
    {1.0, 0.9286650761938038, 0.6079271018540267, 0.27018982304623407, 3.223762155880876e-17,
     -0.14233012910682616, -0.13509491152311703, -0.0677913359005429, -1.611881077940438e-17,
     0.024317084074161062, 0.6079271018540267, 0.6079269689489606},
    {0.8888888888888888, 0.8182222222222221, 0.5347222222222222, 0.25607638888888884,
     0.05555555555555536, -0.029944444444444624, -0.03472222222222232, -0.014756944444444938, 0.0,
     0.0, 0.5347222222222222, 0.5347221097222197},
    {1.0, 1.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {1.0, 0.8, 0.5, 0.25, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.5, 0.49999990000000005},
};
struct ExpectedList {
  int filter, source, dest;
  const char* list;
};
const ExpectedList kContributors[] = {
    {6, 4, 7,
     "1:14 0:228 1:14 | 1:-9 0:137 1:137 2:-9 | 0:14 1:228 2:14 | 0:-9 1:137 2:137 3:-9 | 1:14 "
     "2:228 3:14 | 1:-9 2:137 3:137 3:-9 | 2:14 3:228 3:14"},
    {5, 10, 3,
     "7:1 8:2 9:2 8:-3 7:-7 6:-8 5:-4 4:6 3:22 2:39 1:52 0:57 1:52 2:39 3:22 4:6 5:-4 6:-8 7:-7 "
     "8:-3 9:2 8:2 7:1 | 7:1 6:2 5:1 4:-2 3:-5 2:-8 1:-7 1:13 2:30 3:46 4:56 5:56 6:46 7:30 8:13 "
     "9:-7 8:-8 7:-5 6:-2 5:1 4:2 3:1 | 3:1 2:2 1:2 1:-3 2:-7 3:-8 4:-4 5:6 6:22 7:39 8:52 9:57 "
     "9:52 8:39 7:22 6:6 5:-4 4:-8 3:-7 2:-3 0:2 0:2 0:1"},
    {7, 2, 3, "0:256 | 0:256 | 1:256"},
    {3, 5, 1, "3:2 4:6 4:13 3:21 2:30 1:36 0:38 1:36 2:30 3:21 4:13 4:6 3:2"},
    {4, 3, 8,
     "1:43 0:171 1:43 | 1:16 0:153 1:87 2:1 | 1:3 0:111 1:134 2:8 | 0:63 1:166 2:27 | 0:27 1:166 "
     "2:63 | 0:8 1:134 2:111 2:3 | 0:1 1:87 2:153 2:16 | 1:43 2:171 2:43"},
    {2, 7, 4, "1:64 0:128 1:64 | 1:64 2:128 3:64 | 3:64 4:128 5:64 | 5:64 6:128 6:64"},
    {1, 1, 3, "0:256 | 0:171 0:85 | 0:85 0:171"},
};
const std::vector<int> kRgbSource5x4 = {130, 183, 14,  238, 127, 26,  80,  57,  190, 240, 126, 194,
                                        52,  127, 6,   110, 208, 143, 93,  199, 81,  36,  71,  227,
                                        64,  67,  0,   2,   107, 110, 84,  85,  148, 160, 101, 104,
                                        93,  100, 196, 152, 11,  184, 212, 84,  74,  135, 33,  169,
                                        154, 1,   173, 33,  158, 181, 156, 246, 161, 94,  246, 241};
const std::vector<int> kRgbMitchell3x7 = {
    171, 153, 34,  151, 97,  141, 94,  121, 63,  141, 175, 67,  112, 102, 133, 58,
    111, 68,  103, 191, 114, 68,  103, 129, 33,  93,  79,  106, 152, 124, 89,  89,
    145, 105, 69,  89,  121, 97,  128, 120, 81,  165, 178, 73,  111, 130, 52,  149,
    114, 106, 171, 157, 153, 162, 137, 20,  169, 100, 135, 173, 114, 237, 210};
const std::vector<int> kRgbLanczos9x5 = {
    130, 183, 14,  189, 169, 3,   238, 127, 26,  151, 76,  104, 80,  57,  190, 160, 84,
    231, 240, 126, 194, 172, 136, 101, 52,  127, 6,   119, 211, 108, 130, 212, 73,  125,
    185, 66,  73,  119, 158, 40,  66,  219, 73,  64,  138, 103, 95,  34,  59,  112, 36,
    0,   119, 90,  88,  155, 160, 99,  168, 119, 107, 171, 92,  86,  138, 162, 65,  80,
    218, 65,  23,  157, 83,  4,   67,  100, 30,  56,  113, 74,  87,  92,  61,  148, 130,
    58,  130, 170, 68,  118, 131, 100, 144, 87,  114, 188, 111, 82,  216, 167, 54,  204,
    198, 75,  154, 210, 115, 101, 135, 33,  169, 156, 8,   169, 154, 1,   173, 80,  65,
    181, 33,  158, 181, 87,  220, 162, 156, 246, 161, 143, 252, 196, 94,  246, 241};
const std::vector<int> kSoftSource6x6 = {
    90,  29,  131, 65,  183, 206, 9,   0,   214, 187, 192, 208, 4,   231, 23,  0,   92,  100,
    60,  253, 125, 236, 176, 0,   181, 128, 236, 0,   55,  188, 151, 69,  221, 46,  106, 147,
    185, 75,  174, 130, 47,  159, 162, 138, 90,  40,  76,  244, 158, 247, 82,  244, 24,  41,
    207, 68,  121, 176, 128, 176, 215, 74,  28,  223, 16,  252, 171, 113, 66,  67,  211, 0,
    54,  86,  222, 0,   190, 76,  30,  167, 150, 72,  232, 218, 86,  232, 249, 236, 162, 245,
    140, 134, 240, 206, 75,  88,  193, 91,  255, 146, 92,  45,  251, 129, 184, 32,  182, 237,
    17,  156, 186, 203, 143, 248, 135, 236, 150, 174, 91,  0,   5,   242, 128, 0,   166, 140,
    237, 133, 182, 178, 140, 0,   176, 209, 179, 104, 230, 186, 171, 0,   72,  85,  101, 152};
const std::vector<int> kSoftMitchell4x5 = {
    76,  51,  138, 26,  215, 173, 187, 101, 119, 115, 97,  108, 89,  92,  66,  101,
    104, 210, 122, 70,  161, 102, 121, 125, 151, 106, 115, 151, 62,  109, 113, 131,
    161, 156, 67,  108, 138, 112, 151, 176, 135, 172, 149, 193, 108, 244, 140, 62,
    170, 69,  168, 97,  147, 59,  192, 199, 91,  192, 188, 213, 156, 241, 128, 86,
    163, 126, 245, 57,  160, 120, 218, 80,  141, 197, 169, 81,  92,  133, 111, 76};
const std::vector<int> kSoftLanczos9x8 = {
    100, 49,  131, 69,  174, 181, 77,  11,  246, 226, 207, 23,  210, 193, 193, 188, 255, 224,
    241, 84,  0,   5,   0,   14,  87,  95,  51,  217, 96,  103, 60,  143, 91,  105, 59,  0,
    255, 255, 0,   0,   217, 186, 66,  1,   188, 195, 173, 76,  221, 104, 143, 180, 242, 113,
    200, 128, 50,  50,  100, 78,  74,  126, 111, 175, 81,  88,  82,  234, 94,  56,  65,  174,
    159, 255, 90,  95,  101, 226, 136, 87,  0,   40,  143, 69,  152, 89,  94,  124, 216, 34,
    50,  176, 253, 84,  115, 165, 37,  213, 202, 106, 41,  97,  136, 150, 80,  24,  86,  161,
    162, 241, 71,  222, 137, 192, 93,  168, 102, 39,  158, 69,  96,  174, 162, 155, 180, 127,
    79,  230, 192, 94,  45,  219, 73,  208, 131, 139, 6,   255, 255, 36,  0,   255, 255, 0,
    198, 109, 0,   16,  191, 105, 3,   87,  191, 68,  48,  176, 152, 70,  202, 203, 114, 160,
    240, 237, 103, 234, 220, 224, 132, 251, 167, 137, 225, 219, 77,  95,  255, 200, 66,  70,
    217, 46,  167, 75,  164, 50,  137, 112, 139, 34,  154, 165, 188, 21,  186, 251, 93,  93,
    229, 247, 22,  221, 220, 225, 130, 248, 149, 243, 196, 255, 117, 131, 194, 255, 114, 15,
    185, 118, 255, 109, 134, 109, 255, 138, 118, 63,  255, 133, 180, 39,  203, 151, 120, 88,
    161, 165, 54,  176, 163, 177, 119, 240, 135, 175, 134, 202, 116, 114, 138, 211, 120, 51,
    163, 143, 231, 0,   169, 144, 229, 73,  170, 145, 234, 110, 151, 83,  255, 0,   184, 255,
    149, 35,  207, 220, 188, 80,  120, 240, 134, 0,   36,  36,  80,  66,  61,  63,  98,  145};
const std::vector<int> kOpaqueSource5x3 = {
    244, 144, 40,  255, 213, 87,  215, 255, 154, 138, 14,  255, 100, 81,  225,
    255, 92,  112, 92,  255, 21,  241, 115, 255, 84,  27,  68,  255, 56,  162,
    92,  255, 247, 99,  18,  255, 212, 238, 179, 255, 194, 36,  104, 255, 121,
    191, 0,   255, 179, 207, 142, 255, 209, 58,  191, 255, 18,  154, 48,  255};
const std::vector<int> kOpaqueBSpline2x6 = {
    149, 117, 110, 255, 141, 123, 116, 255, 142, 120, 106, 255, 144, 128, 112, 255,
    129, 127, 97,  255, 148, 139, 105, 255, 125, 133, 90,  255, 148, 145, 100, 255,
    132, 137, 87,  255, 140, 142, 100, 255, 141, 140, 87,  255, 133, 138, 101, 255};
const std::vector<int> kWhiteSource4x4 = {
    0,   0,   0,   255, 255, 255, 255, 40,  255, 255, 255, 255, 255, 255, 255, 40,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0,   0,   0,   0,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 40,  255, 255, 255, 255,
    255, 255, 255, 255, 255, 255, 255, 40,  0,   0,   0,   0,   255, 255, 255, 255};
const std::vector<int> kWhiteLanczos5x4 = {
    0,   0,   0,   255, 7,   7,   7,   71,  255, 255, 255, 142, 246, 246, 246, 239,
    255, 255, 255, 40,  255, 255, 255, 255, 255, 255, 255, 247, 255, 255, 255, 255,
    255, 255, 255, 203, 0,   0,   0,   0,   255, 255, 255, 255, 255, 255, 255, 255,
    255, 255, 255, 122, 255, 255, 255, 61,  255, 255, 255, 255, 255, 255, 255, 255,
    255, 255, 255, 109, 0,   0,   0,   0,   255, 255, 255, 54,  255, 255, 255, 255};

// A bitmap from channel values listed top row first (B, G, R for 24 bits, B, G, R, A for 32).
TBitmap FromValues(int width, int height, PixelFormat format, const std::vector<int>& values) {
  TBitmap bitmap(width, height, format);
  int channels = format == PixelFormat::Bits32 ? 4 : 3;
  for (int y = 0; y < height; ++y)
    for (int k = 0; k < width * channels; ++k)
      bitmap.ScanLine(y)[k] = uint8_t(values[size_t(y * width * channels + k)]);
  return bitmap;
}

std::vector<int> ValuesOf(const TBitmap& bitmap) {
  int channels = bitmap.Format() == PixelFormat::Bits32 ? 4 : 3;
  std::vector<int> values;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int k = 0; k < bitmap.Width() * channels; ++k) values.push_back(bitmap.ScanLine(y)[k]);
  return values;
}

std::string ListText(const ContributorList& list) {
  std::ostringstream text;
  for (int i = 0; i < list.DestLength(); ++i) {
    if (i) text << " | ";
    for (const Contributor* c = list.Begin(i); c != list.End(i); ++c)
      text << (c == list.Begin(i) ? "" : " ") << c->source << ":" << c->weight;
  }
  return text.str();
}

TEST(ResampleFilterTest, KernelsGiveTheTableValues) {
  for (int filter = rfTriangle; filter <= rfLinear; ++filter)
    for (size_t i = 0; i < std::size(kKernelX); ++i)
      EXPECT_NEAR(KernelValue(filter, kKernelX[i]), kKernelValues[filter - 1][i], 1e-12)
          << ResampleFilterName(filter) << " at " << kKernelX[i];
  const double supports[] = {0, 1, 1, 1.5, 2, 3, 2, 1, 1, 0};
  for (int filter = 0; filter < kFilterCount; ++filter)
    EXPECT_EQ(KernelSupport(filter), supports[filter]) << filter;
  EXPECT_STREQ(ResampleFilterName(0), "None");
  EXPECT_STREQ(ResampleFilterName(6), "Mitchell");
  EXPECT_STREQ(ResampleFilterName(9), "Auto");
  EXPECT_STREQ(ResampleFilterName(10), "");
  EXPECT_EQ(kDisplayFilter, 6);
}

TEST(ResampleFilterTest, ContributorListsMirrorAndWeighAsTheReference) {
  for (const ExpectedList& expected : kContributors) {
    ContributorList list(expected.filter, expected.source, expected.dest);
    EXPECT_EQ(ListText(list), expected.list)
        << ResampleFilterName(expected.filter) << " " << expected.source << " -> " << expected.dest;
  }
}

TEST(ResampleTest, PicturesMatchTheReference) {
  TBitmap source = FromValues(5, 4, PixelFormat::Bits24, kRgbSource5x4);
  TBitmap mitchell(3, 7, PixelFormat::Bits8);  // made 24-bit by the call
  Resample(source, mitchell, rfMitchell);
  EXPECT_EQ(mitchell.Format(), PixelFormat::Bits24);
  EXPECT_EQ(ValuesOf(mitchell), kRgbMitchell3x7);
  TBitmap lanczos(9, 5, PixelFormat::Bits24);
  Resample(source, lanczos, rfLanczos3);
  EXPECT_EQ(ValuesOf(lanczos), kRgbLanczos9x5);
}

TEST(ResampleTest, OwnSizeLeavesEveryPictureUnchanged) {
  TBitmap rgb = FromValues(5, 4, PixelFormat::Bits24, kRgbSource5x4);
  TBitmap soft = FromValues(6, 6, PixelFormat::Bits32, kSoftSource6x6);
  for (int filter = 0; filter < kFilterCount; ++filter) {
    TBitmap sameRgb(5, 4, PixelFormat::Bits24);
    Resample(rgb, sameRgb, filter);
    EXPECT_EQ(ValuesOf(sameRgb), kRgbSource5x4) << filter;
    TBitmap sameSoft(6, 6, PixelFormat::Bits32);
    ResampleAlpha(soft, sameSoft, filter);
    EXPECT_EQ(ValuesOf(sameSoft), kSoftSource6x6) << filter;
  }
}

TEST(ResampleTest, RefusedSourcesLeaveTheDestination) {
  TBitmap dest(2, 2, PixelFormat::Bits8);
  dest.SetIndex(0, 0, 7);
  Resample(TBitmap(4, 4, PixelFormat::Bits32), dest, rfMitchell);
  Resample(TBitmap(0, 4, PixelFormat::Bits24), dest, rfMitchell);
  EXPECT_EQ(dest.Format(), PixelFormat::Bits8);
  EXPECT_EQ(dest.GetIndex(0, 0), 7);
  TBitmap empty(0, 0, PixelFormat::Bits8);
  Resample(FromValues(5, 4, PixelFormat::Bits24, kRgbSource5x4), empty, rfMitchell);
  EXPECT_EQ(empty.Format(), PixelFormat::Bits8);
}

TEST(ResampleTest, OnePixelSourceAndFilterNoneStretch) {
  TBitmap dot(1, 1, PixelFormat::Bits24);
  dot.SetPixel(0, 0, RGB(1, 2, 3));
  TBitmap dest(3, 2, PixelFormat::Bits24);
  Resample(dot, dest, rfLanczos3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dest.GetPixel(x, y), RGB(1, 2, 3));
  TBitmap source = FromValues(5, 4, PixelFormat::Bits24, kRgbSource5x4);
  TBitmap stretched(10, 8, PixelFormat::Bits24), expected(10, 8, PixelFormat::Bits24);
  Resample(source, stretched, rfNone);
  StretchDraw(expected, {0, 0, 10, 8}, source);
  EXPECT_EQ(ValuesOf(stretched), ValuesOf(expected));
}

TEST(ResampleAlphaTest, PicturesMatchTheReference) {
  // Soft edges: scaled inside the transparent margin.
  TBitmap soft = FromValues(6, 6, PixelFormat::Bits32, kSoftSource6x6);
  TBitmap small(4, 5, PixelFormat::Bits32), large(9, 8, PixelFormat::Bits32);
  ResampleAlpha(soft, small, rfMitchell);
  EXPECT_EQ(ValuesOf(small), kSoftMitchell4x5);
  ResampleAlpha(soft, large, rfLanczos3);
  EXPECT_EQ(ValuesOf(large), kSoftLanczos9x8);
  // Opaque edges: no margin.
  TBitmap opaque = FromValues(5, 3, PixelFormat::Bits32, kOpaqueSource5x3);
  TBitmap narrow(2, 6, PixelFormat::Bits24);
  ResampleAlpha(opaque, narrow, rfBSpline);
  EXPECT_EQ(narrow.Format(), PixelFormat::Bits32);
  EXPECT_EQ(ValuesOf(narrow), kOpaqueBSpline2x6);
}

TEST(ResampleAlphaTest, TransparentWhiteAppearsOnlyWhenTheSourceHasIt) {
  TBitmap source = FromValues(4, 4, PixelFormat::Bits32, kWhiteSource4x4);
  TBitmap dest(5, 4, PixelFormat::Bits32);
  ResampleAlpha(source, dest, rfLanczos3);
  EXPECT_EQ(ValuesOf(dest), kWhiteLanczos5x4);
  // The pixel at (2, 3) comes out transparent white when the source has such pixels (one of
  // its transparent pixels painted white; transparent colours count for nothing otherwise).
  std::vector<int> kept = kWhiteLanczos5x4;
  size_t white = 4 * (3 * 5 + 2);
  ASSERT_EQ(std::vector<int>(kept.begin() + white, kept.begin() + white + 4),
            (std::vector<int>{0, 0, 0, 0}));
  std::fill(kept.begin() + white, kept.begin() + white + 3, 255);
  uint8_t* transparent = source.ScanLine(1) + 4 * 3;
  transparent[0] = transparent[1] = transparent[2] = 255;
  ResampleAlpha(source, dest, rfLanczos3);
  EXPECT_EQ(ValuesOf(dest), kept);
}

TEST(ResampleAlphaTest, EmptyPicturesAndFilterNone) {
  TBitmap dest(3, 2, PixelFormat::Bits24);
  dest.Fill(clWhite);
  ResampleAlpha(TBitmap(0, 5, PixelFormat::Bits32), dest, rfMitchell);
  EXPECT_EQ(dest.Format(), PixelFormat::Bits32);
  EXPECT_EQ(ValuesOf(dest), std::vector<int>(24, 0));
  TBitmap empty(0, 2, PixelFormat::Bits8);
  ResampleAlpha(FromValues(6, 6, PixelFormat::Bits32, kSoftSource6x6), empty, rfMitchell);
  EXPECT_EQ(empty.Format(), PixelFormat::Bits8);
  TBitmap soft = FromValues(6, 6, PixelFormat::Bits32, kSoftSource6x6);
  TBitmap stretched(12, 3, PixelFormat::Bits32), expected(12, 3, PixelFormat::Bits32);
  ResampleAlpha(soft, stretched, rfNone);
  StretchDraw(expected, {0, 0, 12, 3}, soft);
  EXPECT_EQ(ValuesOf(stretched), ValuesOf(expected));
}

TEST(ResampleAlphaTest, ElongatedPicturesMeasureTheirEdgesWithinTheirRows) {
  // 1280 x 32: the edge test takes 41 columns at each side and would take 41 rows.
  TBitmap strip(1280, 32, PixelFormat::Bits32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 1280; ++x) strip.ScanLine(y)[4 * x + 3] = 100;
  TBitmap dest(640, 16, PixelFormat::Bits32);
  ResampleAlpha(strip, dest, rfMitchell);
  EXPECT_EQ(dest.ScanLine(8)[4 * 320 + 3], 100);
}

TEST(ResampleTest, IntermediatesLargerThanABitmapAreRefused) {
  // Each picture is allowed, the destination width by the source height (14 GB) is not.
  TBitmap tall(2, 60000, PixelFormat::Bits24), wide(60000, 2, PixelFormat::Bits24);
  EXPECT_THROW(Resample(tall, wide, rfTriangle), EInvalidGraphic);
  TBitmap tallAlpha(2, 60000, PixelFormat::Bits32), wideAlpha(60000, 2, PixelFormat::Bits32);
  EXPECT_THROW(ResampleAlpha(tallAlpha, wideAlpha, rfTriangle), EInvalidGraphic);
}

TEST(ResampleAlphaTest, OnePixelColumnsAndRowsScaleAsTwoPixelOnes) {
  // A column: two copies side by side scaled, left column kept.
  TBitmap column = FromValues(1, 4, PixelFormat::Bits32,
                              {10, 20, 30, 255, 200, 100, 50, 128, 0, 0, 0, 0, 90, 90, 90, 255});
  TBitmap doubled(2, 4, PixelFormat::Bits32);
  Draw(doubled, 0, 0, column);
  Draw(doubled, 1, 0, column);
  TBitmap wide(2, 7, PixelFormat::Bits32), dest(1, 7, PixelFormat::Bits32);
  ResampleAlpha(doubled, wide, rfMitchell);
  ResampleAlpha(column, dest, rfMitchell);
  for (int y = 0; y < 7; ++y)
    EXPECT_EQ(std::vector<int>(dest.ScanLine(y), dest.ScanLine(y) + 4),
              std::vector<int>(wide.ScanLine(y), wide.ScanLine(y) + 4))
        << y;
  // A row into a row of another length, and a picture into a single row: defined results of
  // the requested size.
  TBitmap row(5, 1, PixelFormat::Bits32);
  ResampleAlpha(FromValues(4, 1, PixelFormat::Bits32, std::vector<int>(16, 200)), row, rfBell);
  EXPECT_EQ(ValuesOf(row), std::vector<int>(20, 200));
  TBitmap line(3, 1, PixelFormat::Bits32);
  ResampleAlpha(FromValues(6, 6, PixelFormat::Bits32, kSoftSource6x6), line, rfMitchell);
  EXPECT_EQ(line.Width(), 3);
  EXPECT_EQ(line.Height(), 1);
}

}  // namespace
}  // namespace varnel

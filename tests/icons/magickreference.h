#pragma once
// Pictures as ImageMagick decodes them, the reference the picture readers are compared with.

#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel::test {

// A picture as rows of RGBA bytes, top row first.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// Frame frame of a file as ImageMagick's convert decodes it, or nothing when convert is missing
// or fails.
std::optional<RgbaPicture> MagickPicture(const std::string& path, int frame = 0);

// The first frame of a file as Pillow decodes it, or nothing when Pillow is missing or fails.
std::optional<RgbaPicture> PillowPicture(const std::string& path);

// A bitmap as RGBA: 32-bit bitmaps with their alpha, others opaque.
RgbaPicture RgbaOf(const TBitmap& bitmap);

// How pictures are compared: channels may differ by tolerance; with opaqueOnly only the colour
// of the pixels the reference shows opaque counts.
struct Comparison {
  int tolerance = 0;
  bool opaqueOnly = false;
};

// The first pixel where two pictures differ ("" when equal): transparent pixels (alpha 0)
// compare by their alpha alone.
std::string FirstDifference(const RgbaPicture& actual, const RgbaPicture& expected,
                            Comparison comparison = {});

}  // namespace varnel::test

// Skips the current test when ImageMagick gives no picture for the file.
#define VARNEL_MAGICK_OR_SKIP(picture, path, frame)        \
  auto picture = varnel::test::MagickPicture(path, frame); \
  if (!picture) GTEST_SKIP() << "ImageMagick does not decode " << (path)

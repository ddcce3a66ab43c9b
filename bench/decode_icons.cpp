// Decodes every image of the ICO files given to 32-bit RGBA in memory, as a viewer would before
// drawing them, and prints the counts: "FILES files, IMAGES images, PIXELS pixels".
// A file that is no ICO file counts as a file with no images.
//
//   decode_icons FILE...

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "icons/advancedicon.h"
#include "icons/maskbits.h"
#include "icons/subicon.h"

using namespace varnel;

namespace {

struct DecodeCounts {
  int64_t files = 0;
  int64_t images = 0;
  int64_t pixels = 0;
};

// The image's own alpha when it has any; else its AND mask makes it transparent.
TBitmap StraightAlphaBitmap(const TSubIcon& image) {
  TBitmap colour, mask;
  image.GetBitmaps(nullptr, &colour, clNone, &mask);
  bool ownAlpha = colour.Format() == PixelFormat::Bits32 && !AllAlphaZero(colour);
  colour.SetFormat(PixelFormat::Bits32);
  if (ownAlpha) return colour;
  if (mask.Width() == colour.Width() && mask.Height() == colour.Height() &&
      mask.Format() == PixelFormat::Bits1)
    AlphaFromMask(colour, mask);
  else
    SetOpaque(colour);
  return colour;
}

// Top-down rows of R, G, B, A bytes.
std::vector<uint8_t> ToRgba(const TBitmap& bitmap) {
  std::vector<uint8_t> rgba(size_t(bitmap.Width()) * size_t(bitmap.Height()) * 4);
  uint8_t* out = rgba.data();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* in = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, in += 4, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = in[3];
    }
  }
  return rgba;
}

void DecodeFile(const std::string& path, DecodeCounts& counts) {
  ++counts.files;
  TAdvancedIcon icon;
  try {
    if (!icon.LoadFromFile(path)) return;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "decode_icons: %s: %s\n", path.c_str(), error.what());
    return;
  }
  for (const auto& image : icon.Images()) {
    try {
      std::vector<uint8_t> rgba = ToRgba(StraightAlphaBitmap(*image));
      if (rgba.empty()) continue;
      ++counts.images;
      counts.pixels += int64_t(rgba.size() / 4);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "decode_icons: %s: image %s: %s\n", path.c_str(),
                   image->GetShortDescription().c_str(), error.what());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: decode_icons FILE...\n");
    return 2;
  }
  DecodeCounts counts;
  for (int i = 1; i < argc; ++i) DecodeFile(argv[i], counts);
  std::printf("%lld files, %lld images, %lld pixels\n", static_cast<long long>(counts.files),
              static_cast<long long>(counts.images), static_cast<long long>(counts.pixels));
  return 0;
}

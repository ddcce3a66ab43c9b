// Decodes every image of the ICO files given to 32-bit RGBA in memory, as a viewer would before
// drawing them, and prints the counts: "FILES files, IMAGES images, PIXELS pixels".
// A file that is no ICO file counts as a file with no images. With --digest, one line per image
// comes first: file, WxH and the CRC-32 of its RGBA rows (top row first), the form
// bench/decode_icons.py prints, so that the two decoders' pixels can be compared once both
// listings are sorted (the two take a file's images in different orders).
//
//   decode_icons [--digest] FILE...

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <zlib.h>

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

void PrintDigest(const std::string& path, const TBitmap& bitmap, const std::vector<uint8_t>& rgba) {
  unsigned long crc = crc32(0, rgba.data(), uInt(rgba.size()));
  std::printf("%s\t%dx%d\t%08lx\n", path.c_str(), bitmap.Width(), bitmap.Height(), crc);
}

void DecodeFile(const std::string& path, bool digest, DecodeCounts& counts) {
  ++counts.files;
  TAdvancedIcon icon;
  try {
    if (!icon.LoadFromFile(path)) return;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "decode_icons: %s: %s\n", path.c_str(), error.what());
    return;
  }
  for (const auto& entry : icon.Images()) {
    const TSubIcon& image = *entry;
    try {
      TBitmap bitmap = StraightAlphaBitmap(image);
      std::vector<uint8_t> rgba = ToRgba(bitmap);
      if (rgba.empty()) continue;
      if (digest) PrintDigest(path, bitmap, rgba);
      ++counts.images;
      counts.pixels += int64_t(rgba.size() / 4);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "decode_icons: %s: image %s: %s\n", path.c_str(),
                   image.GetShortDescription().c_str(), error.what());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool digest = argc > 1 && std::string(argv[1]) == "--digest";
  int first = digest ? 2 : 1;
  if (argc <= first) {
    std::fprintf(stderr, "usage: decode_icons [--digest] FILE...\n");
    return 2;
  }
  DecodeCounts counts;
  for (int i = first; i < argc; ++i) DecodeFile(argv[i], digest, counts);
  std::printf("%lld files, %lld images, %lld pixels\n", static_cast<long long>(counts.files),
              static_cast<long long>(counts.images), static_cast<long long>(counts.pixels));
  return 0;
}

#include "collection/pixelkey.h"

#include "base/byteorder.h"
#include "collection/hashmix.h"
#include "graphics/canvas.h"

namespace varnel {

namespace {

// How two images of the same size are compared: without data, of no pixels (both always
// equal), by their 32-bit pixels, or by their colour images and masks.
enum class ComparePath : uint64_t { kNoData, kNoPixels, kAlphaPixels, kBitmaps };

constexpr int kImagesWithKnownPaths = 28;  // two bits each, the count above them

ComparePath PathOf(const TSubIcon& image) {
  if (!image.HasData()) return ComparePath::kNoData;
  if (image.ImageWidth() == 0 || image.ImageHeight() == 0) return ComparePath::kNoPixels;
  if (image.BitsPerPixel() == 32 && !image.IsPng()) return ComparePath::kAlphaPixels;
  return ComparePath::kBitmaps;
}

uint64_t AlphaPixelsHash(std::span<const uint8_t> bits) {
  uint64_t hash = MixHash(0, bits.size());
  for (size_t i = 0; i + 3 < bits.size(); i += 4)
    hash = MixHash(hash, bits[i + 3] ? ReadU32LE(&bits[i]) : 0);
  return hash;
}

uint64_t Bitmap24Hash(const TBitmap& bitmap) {
  TBitmap bits24 = ConvertFormat(bitmap, PixelFormat::Bits24);
  return MixHash(MixHash(uint64_t(bitmap.Width()), uint64_t(bitmap.Height())),
                 BytesHash(bits24.Bits()));
}

uint64_t PixelsHash(const TSubIcon& image, ComparePath path) {
  if (path == ComparePath::kAlphaPixels) return AlphaPixelsHash(image.GetPixelBits());
  if (path != ComparePath::kBitmaps) return 0;
  TBitmap color, mask;
  image.GetBitmaps(nullptr, &color, clNone, &mask);
  return MixHash(Bitmap24Hash(color), Bitmap24Hash(mask));
}

}  // namespace

IconPixelKey PixelKeyOf(const TAdvancedIcon& icon) {
  IconPixelKey key;
  int count = icon.Images().Count();
  key.paths = count <= kImagesWithKnownPaths ? uint64_t(count) << 56 : IconPixelKey::kUnknownPaths;
  for (int i = 0; i < count; ++i) {
    const TSubIcon& image = *icon.Images()[i];
    ComparePath path = PathOf(image);
    if (key.PathsKnown()) key.paths |= uint64_t(path) << (2 * i);
    key.pixels = MixHash(key.pixels, PixelsHash(image, path));
  }
  return key;
}

}  // namespace varnel

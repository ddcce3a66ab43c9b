#include "collection/iconhash.h"

#include <zlib.h>

#include "graphics/pixelrow.h"

namespace varnel {

namespace {

// The CRC-32 register (started at FFFFFFFF, without the final inversion) of a bitmap's pixels
// as a 24-bit bitmap would store them: rows bottom-up, each widened to a multiple of 4 pixels
// with white. Fully transparent pixels count as black whatever their colour, as the image
// comparison has it. The rows are converted one at a time into buffers kept between calls.
class PixelCrc {
 public:
  uint32_t Of(const TBitmap& bitmap) {
    int width = bitmap.Width(), height = bitmap.Height();
    int paddedWidth = (width + 3) / 4 * 4;
    colors_.resize(size_t(width));
    row_.assign(size_t(paddedWidth) * 3, 0xFF);
    bool hasAlpha = bitmap.Format() == PixelFormat::Bits32;
    uLong crc = crc32(0, Z_NULL, 0);
    for (int y = height - 1; y >= 0; --y) {
      ReadColorRow(bitmap, y, 0, width, colors_.data());
      uint8_t* out = row_.data();
      for (const RGBQuad& color : colors_) {
        bool clear = hasAlpha && color.reserved == 0;
        *out++ = clear ? 0 : color.blue;
        *out++ = clear ? 0 : color.green;
        *out++ = clear ? 0 : color.red;
      }
      crc = crc32(crc, row_.data(), uInt(row_.size()));
    }
    return ~uint32_t(crc);
  }

 private:
  std::vector<RGBQuad> colors_;
  std::vector<uint8_t> row_;
};

uint32_t NonZero(uint32_t hash) {
  return hash ? hash : 1;
}

}  // namespace

uint32_t SearchHash(const TAdvancedIcon& icon) {
  thread_local PixelCrc crc;
  uint32_t hash = 0;
  for (const auto& image : icon.Images()) {
    if (!image->HasData()) continue;
    TBitmap color;
    image->GetBitmaps(nullptr, &color, clBlack, nullptr);
    uint32_t w = uint32_t(color.Width()), h = uint32_t(color.Height());
    hash += w + 32 * h;
    if (w && h) hash += crc.Of(color);
  }
  return NonZero(hash);
}

uint32_t CompareHash(const TAdvancedIcon& icon) {
  thread_local PixelCrc crc;
  uint32_t hash = 0;
  for (const auto& image : icon.Images()) {
    if (!image->HasData()) continue;
    TBitmap color, mask;
    image->GetBitmaps(nullptr, &color, clBlack, &mask);
    hash += crc.Of(color) + crc.Of(mask);
  }
  return NonZero(hash);
}

}  // namespace varnel

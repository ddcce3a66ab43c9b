#include "collection/iconhash.h"

#include <zlib.h>

#include "graphics/canvas.h"

namespace varnel {

namespace {

// The CRC-32 register over bytes, starting at FFFFFFFF and without the final inversion.
uint32_t CrcRegister(std::span<const uint8_t> bytes) {
  return ~uint32_t(crc32(0, bytes.data(), uInt(bytes.size())));
}

// Fully transparent pixels count as 0 whatever their colour, as the image comparison does.
void ClearTransparentPixels(TBitmap& bitmap) {
  if (bitmap.Format() != PixelFormat::Bits32) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 4)
      if (p[3] == 0) p[0] = p[1] = p[2] = 0;
  }
}

// CRC of a bitmap copied into a 24-bit bitmap whose width is rounded up to a multiple of 4
// (the added columns white), rows bottom-up.
uint32_t PixelCrc(TBitmap bitmap) {
  ClearTransparentPixels(bitmap);
  int width = (bitmap.Width() + 3) / 4 * 4;
  TBitmap work(width, bitmap.Height(), PixelFormat::Bits24);
  work.Fill(clWhite);
  Draw(work, 0, 0, bitmap);
  return CrcRegister(work.Bits());
}

uint32_t NonZero(uint32_t hash) {
  return hash ? hash : 1;
}

}  // namespace

uint32_t SearchHash(const TAdvancedIcon& icon) {
  uint32_t hash = 0;
  for (const auto& image : icon.Images()) {
    if (!image->HasData()) continue;
    TBitmap color;
    image->GetBitmaps(nullptr, &color, clBlack, nullptr);
    uint32_t w = uint32_t(color.Width()), h = uint32_t(color.Height());
    hash += w + 32 * h;
    if (w && h) hash += PixelCrc(std::move(color));
  }
  return NonZero(hash);
}

uint32_t CompareHash(const TAdvancedIcon& icon) {
  uint32_t hash = 0;
  for (const auto& image : icon.Images()) {
    if (!image->HasData()) continue;
    TBitmap color, mask;
    image->GetBitmaps(nullptr, &color, clBlack, &mask);
    hash += PixelCrc(std::move(color)) + PixelCrc(std::move(mask));
  }
  return NonZero(hash);
}

}  // namespace varnel

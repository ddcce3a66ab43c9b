#pragma once
// Small pixel helpers shared by the image conversions: 1-bit masks and 32-bit alpha.

#include "graphics/bitmap.h"

namespace varnel {

// True when pixel (x, y) of a 1-bit mask is set (white: transparent).
inline bool MaskBitSet(const TBitmap& mask, int x, int y) {
  return (mask.ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

inline void SetMaskBit(TBitmap& mask, int x, int y) {
  mask.ScanLine(y)[x >> 3] |= uint8_t(0x80 >> (x & 7));
}

// True when a 32-bit bitmap has no alpha at all (every alpha byte 0): old-style images that
// rely on their mask for transparency.
inline bool AllAlphaZero(const TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (row[4 * x + 3]) return false;
  }
  return true;
}

// Sets the alpha of a 32-bit bitmap from a mask: 0 where the mask is set, 255 elsewhere.
inline void AlphaFromMask(TBitmap& bitmap, const TBitmap& mask) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[4 * x + 3] = MaskBitSet(mask, x, y) ? 0 : 255;
  }
}

// Makes every pixel of a 32-bit bitmap fully opaque.
inline void SetOpaque(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[4 * x + 3] = 255;
  }
}

}  // namespace varnel

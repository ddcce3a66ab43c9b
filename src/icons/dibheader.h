#pragma once
// The 40-byte BITMAPINFOHEADER at the start of a DIB.

#include <cstdint>
#include <span>

#include "base/byteorder.h"

namespace varnel {

struct TBitmapInfoHeader {
  static constexpr size_t kSize = 40;

  uint32_t biSize = kSize;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;

  // Decodes the first 40 bytes; the caller checks that they are there.
  static TBitmapInfoHeader Decode(const uint8_t* p) {
    return {ReadU32LE(p),      ReadI32LE(p + 4),  ReadI32LE(p + 8),  ReadU16LE(p + 12),
            ReadU16LE(p + 14), ReadU32LE(p + 16), ReadU32LE(p + 20), ReadI32LE(p + 24),
            ReadI32LE(p + 28), ReadU32LE(p + 32), ReadU32LE(p + 36)};
  }
  void Encode(uint8_t* p) const {
    WriteU32LE(p, biSize);
    WriteU32LE(p + 4, uint32_t(biWidth));
    WriteU32LE(p + 8, uint32_t(biHeight));
    WriteU16LE(p + 12, biPlanes);
    WriteU16LE(p + 14, biBitCount);
    WriteU32LE(p + 16, biCompression);
    WriteU32LE(p + 20, biSizeImage);
    WriteU32LE(p + 24, uint32_t(biXPelsPerMeter));
    WriteU32LE(p + 28, uint32_t(biYPelsPerMeter));
    WriteU32LE(p + 32, biClrUsed);
    WriteU32LE(p + 36, biClrImportant);
  }
};

}  // namespace varnel

#pragma once
// The standard BMP reader and writer (files in memory).

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// Reads a BMP file (14-byte file header, then a core header (12 bytes) or an info header
// (40 bytes or a later, longer version), bit fields, palette, pixels; RLE4 and RLE8 decoded;
// top-down rows accepted). 16-bit data becomes Bits15 (5-5-5 masks) or Bits16 (other masks),
// 1/4/8-bit data keeps its palette (biClrUsed entries, or 2^bits). A header, palette or pixel
// block that runs past the bytes given raises EInvalidGraphic("Bitmap image is not valid").
TBitmap LoadBmp(std::span<const uint8_t> file);

// Reads a DIB without file header (header, palette, pixels), as LoadBmp does after the file
// header. colourBitsOffset, when not null, receives the offset of the pixel bits in dib.
TBitmap LoadDib(std::span<const uint8_t> dib, size_t* colourBitsOffset = nullptr);

// Writes a BMP file: file header, 40-byte info header (BI_RGB; BI_BITFIELDS with the channel
// masks for Bits16), the palette (its real entry count in biClrUsed for indexed formats), rows
// bottom-up. biSizeImage is the size of the pixel rows.
std::vector<uint8_t> SaveBmp(const TBitmap& bitmap);

}  // namespace varnel

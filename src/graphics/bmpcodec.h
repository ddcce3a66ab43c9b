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
// Also: core headers take 3-byte palette entries; 2-bit data widens to Bits4; 32-bit data
// keeps its fourth byte as stored under BI_RGB, while bit fields (BI_BITFIELDS, or
// BI_ALPHABITFIELDS, with masks after a 40-byte header or inside a longer one) are moved to
// the DIB byte order with the alpha mask's channel in the fourth byte. The pixels start at the
// file header's offset when it is not 0 (a palette reaching past it is cut to the entries
// before it), else right after the palette. An RLE bitmap may not claim more than 256 pixels
// per byte of its data plus 2^20 (runs describe at most 255 pixels per 2 bytes); its top-down
// form, JPEG/PNG compression and unknown depths are refused.
TBitmap LoadBmp(std::span<const uint8_t> file);

// Reads a DIB without file header (header, palette, pixels), as LoadBmp does after the file
// header. colourBitsOffset, when not null, receives the offset of the pixel bits in dib.
TBitmap LoadDib(std::span<const uint8_t> dib, size_t* colourBitsOffset = nullptr);

// Reads the colour part of an icon image's DIB in place: the header is taken as a 40-byte info
// header whose height is colorHeight (an icon's header counts the mask rows too), the pixels
// start at pixelOffset (a palette reaching past it is cut), and dib ends where the colour bits
// end. Gives what LoadBmp gives for the same bytes behind a file header, without copying them.
TBitmap LoadIconDibColor(std::span<const uint8_t> dib, int32_t colorHeight, size_t pixelOffset);

// Writes a BMP file: file header, 40-byte info header (BI_RGB; BI_BITFIELDS with the channel
// masks for Bits16), the palette (its real entry count in biClrUsed for indexed formats), rows
// bottom-up. biSizeImage is the size of the pixel rows. An indexed bitmap without palette
// entries gets 2^bits black ones; entries beyond 2^bits are left out.
std::vector<uint8_t> SaveBmp(const TBitmap& bitmap);

}  // namespace varnel

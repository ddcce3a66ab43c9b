#pragma once
// Row-at-a-time pixel access shared by the bitmap, the canvas and the codecs: every pixel loop
// decodes or encodes whole runs of a row through pointers instead of calling per pixel.

#include <cstdint>

#include "graphics/bitmap.h"

namespace varnel {

// True for the formats that store palette indices (1, 4 and 8 bits).
constexpr bool IsIndexedFormat(PixelFormat format) {
  return format == PixelFormat::Bits1 || format == PixelFormat::Bits4 ||
         format == PixelFormat::Bits8;
}

// One colour channel of a bit-field pixel: where it sits, its largest value and its width.
// Channels of up to 8 contiguous bits widen to 8 bits by repeating their bits (5 bits abcde
// give abcdeabc, so the full scale maps to 255) and narrow by dropping low bits; wider or
// scattered channels are scaled.
struct ChannelField {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  int bits = 0;  // width of a contiguous channel of at most 8 bits, else 0

  static ChannelField FromMask(uint32_t mask);
  // The channel of a packed pixel as 0..255.
  uint8_t Expand(uint32_t pixel) const {
    uint32_t value = (pixel & mask) >> shift;
    if (bits) {
      uint32_t widened = 0;
      for (int filled = 0; filled < 8; filled += bits) widened |= (value << (8 - bits)) >> filled;
      return uint8_t(widened);
    }
    if (max == 0) return 0;
    return uint8_t((uint64_t(value) * 255 + max / 2) / max);
  }
  // An 8-bit channel value brought to this channel and put in place.
  uint32_t Compress(uint8_t value) const {
    if (bits) return uint32_t(value >> (8 - bits)) << shift;
    return uint32_t((uint64_t(value) * max + 127) / 255) << shift;
  }
};

// The colours of count pixels of row y (from the top) starting at column x, as DIB quads.
// The fourth byte is the stored one for 32-bit pixels and 0 otherwise; indices beyond the
// palette read as black.
void ReadColorRow(const TBitmap& bitmap, int y, int x, int count, RGBQuad* out);
// The palette indices of count pixels of a row of an indexed bitmap.
void ReadIndexRow(const TBitmap& bitmap, int y, int x, int count, uint8_t* out);
// Stores colours into a row of a bitmap that is not indexed (at 32 bits the fourth byte is
// stored as given).
void WriteColorRow(TBitmap& bitmap, int y, int x, int count, const RGBQuad* in);
// Stores palette indices into a row of an indexed bitmap (masked to the format's bit width).
void WriteIndexRow(TBitmap& bitmap, int y, int x, int count, const uint8_t* in);

}  // namespace varnel

#pragma once
// TBitmap: a device-independent bitmap in one of the DIB pixel formats, rows stored bottom-up
// and 4-byte aligned exactly as in a DIB, so that DIB data converts without surprises.

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/color.h"

namespace varnel {

enum class PixelFormat { Device, Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Custom };

// Bits per pixel of a format (0 for Device and Custom).
int BitsOfFormat(PixelFormat format);
// The format that stores depth bits per pixel (1, 4, 8, 15, 16, 24, 32); Custom for others.
PixelFormat FormatOfBits(int bits);
// Bytes in one DIB row of width pixels at bits per pixel: ((width * bits + 31) div 32) * 4.
int64_t DibRowBytes(int64_t width, int bits);

// The largest width or height a bitmap may have; larger sizes raise EInvalidGraphic.
constexpr int kMaxBitmapDimension = 1 << 16;
// The most bytes of pixel rows a bitmap may hold (1 GiB); larger sizes raise EInvalidGraphic, so
// that width * height * bits can neither overflow nor exhaust memory.
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 30;

class TBitmap {
 public:
  TBitmap() = default;
  // A bitmap of zero pixels (an indexed one gets the standard palette of its depth). Device and
  // Custom cannot be stored and raise EInvalidGraphic, as do the sizes SetSize refuses.
  TBitmap(int width, int height, PixelFormat format);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return BitsOfFormat(format_); }

  // Resizes to width x height; pixel contents become zero. Negative sizes, sizes over
  // kMaxBitmapDimension or over kMaxBitmapBytes of rows raise EInvalidGraphic.
  void SetSize(int width, int height);
  // Changes the pixel format, converting the pixels (palettes are made as the standard ones
  // for 1, 4 and 8 bits; colours map to the nearest palette entry). Nothing happens when the
  // format is the current one; Device and Custom raise EInvalidGraphic.
  void SetFormat(PixelFormat format);

  // Palette of 1-, 4- and 8-bit bitmaps (may be shorter than 2^bits); empty otherwise.
  const std::vector<RGBQuad>& Palette() const { return palette_; }
  void SetPalette(std::vector<RGBQuad> palette) { palette_ = std::move(palette); }
  // Index of the palette entry nearest to colour (smallest squared RGB distance, first wins;
  // only the entries an index of the format can reach count; 0 for an empty palette).
  int NearestPaletteIndex(TColor color) const;

  // Channel masks of a 16-bit (bit-field) bitmap: red, green, blue; 5-6-5 by default.
  // A 15-bit bitmap always uses 5-5-5.
  const uint32_t* ChannelMasks() const { return masks_; }
  void SetChannelMasks(uint32_t red, uint32_t green, uint32_t blue);

  int64_t RowBytes() const { return DibRowBytes(width_, BitsPerPixel()); }
  // Row y counted from the top (stored bottom-up as in a DIB).
  uint8_t* ScanLine(int y) { return bits_.data() + (height_ - 1 - y) * RowBytes(); }
  const uint8_t* ScanLine(int y) const { return bits_.data() + (height_ - 1 - y) * RowBytes(); }
  // All pixel rows, bottom row first: the colour bits of a DIB.
  std::span<uint8_t> Bits() { return bits_; }
  std::span<const uint8_t> Bits() const { return bits_; }

  // Pixel access: coordinates outside the bitmap raise std::out_of_range.
  // Colour of a pixel (palette entry for indexed formats, black for an index beyond the
  // palette); alpha ignored.
  TColor GetPixel(int x, int y) const;
  // Sets a pixel to a colour (nearest palette entry for indexed formats, alpha 0 at 32 bits).
  void SetPixel(int x, int y, TColor color);
  // Raw palette index of a pixel of a 1-, 4- or 8-bit bitmap (0 for other formats; SetIndex
  // does nothing on them).
  int GetIndex(int x, int y) const;
  void SetIndex(int x, int y, int index);

  // Fills the whole bitmap with one colour (alpha 0 at 32 bits).
  void Fill(TColor color);

  friend bool operator==(const TBitmap&, const TBitmap&) = default;

 private:
  // Takes format with its standard palette and default channel masks; keeps the pixel bytes.
  void AdoptFormat(PixelFormat format);
  void CheckPixel(int x, int y) const;

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Bits24;
  std::vector<RGBQuad> palette_;
  uint32_t masks_[3] = {0xF800, 0x07E0, 0x001F};
  std::vector<uint8_t> bits_;
};

// The platform's standard palettes: black and white; the 16 basic colours in the order
// 000000 800000 008000 808000 000080 800080 008080 C0C0C0 808080 FF0000 00FF00 FFFF00 0000FF
// FF00FF 00FFFF FFFFFF (as RRGGBB); and a 256-entry halftone palette.
std::vector<RGBQuad> StandardPalette(int bits);

}  // namespace varnel

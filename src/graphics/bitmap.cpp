#include "graphics/bitmap.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "base/errors.h"
#include "graphics/canvas.h"
#include "graphics/pixelrow.h"

namespace varnel {

namespace {

constexpr uint32_t kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kMasks565[3] = {0xF800, 0x07E0, 0x001F};

[[noreturn]] void RaiseInvalidBitmap() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

void CheckStorableFormat(PixelFormat format) {
  if (BitsOfFormat(format) == 0) RaiseInvalidBitmap();
}

constexpr RGBQuad Rgb(uint32_t rrggbb) {
  return {uint8_t(rrggbb), uint8_t(rrggbb >> 8), uint8_t(rrggbb >> 16), 0};
}

constexpr uint32_t kBasicColors[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// The 256-colour halftone palette: the 16 basic colours, a 6x6x6 colour cube (channel levels
// 00, 33, 66, 99, CC, FF) and 24 greys from 08 to EE in steps of 10 (hexadecimal 0A).
std::vector<RGBQuad> HalftonePalette() {
  std::vector<RGBQuad> palette;
  palette.reserve(256);
  for (uint32_t color : kBasicColors) palette.push_back(Rgb(color));
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        palette.push_back({uint8_t(b * 0x33), uint8_t(g * 0x33), uint8_t(r * 0x33), 0});
  for (int i = 0; i < 24; ++i) {
    uint8_t level = uint8_t(8 + 10 * i);
    palette.push_back({level, level, level, 0});
  }
  return palette;
}

}  // namespace

int BitsOfFormat(PixelFormat format) {
  switch (format) {
    case PixelFormat::Bits1:
      return 1;
    case PixelFormat::Bits4:
      return 4;
    case PixelFormat::Bits8:
      return 8;
    case PixelFormat::Bits15:
      return 16;
    case PixelFormat::Bits16:
      return 16;
    case PixelFormat::Bits24:
      return 24;
    case PixelFormat::Bits32:
      return 32;
    default:
      return 0;
  }
}

PixelFormat FormatOfBits(int bits) {
  switch (bits) {
    case 1:
      return PixelFormat::Bits1;
    case 4:
      return PixelFormat::Bits4;
    case 8:
      return PixelFormat::Bits8;
    case 15:
      return PixelFormat::Bits15;
    case 16:
      return PixelFormat::Bits16;
    case 24:
      return PixelFormat::Bits24;
    case 32:
      return PixelFormat::Bits32;
    default:
      return PixelFormat::Custom;
  }
}

int64_t DibRowBytes(int64_t width, int bits) {
  return ((width * bits + 31) / 32) * 4;
}

std::vector<RGBQuad> StandardPalette(int bits) {
  switch (bits) {
    case 1:
      return {Rgb(0x000000), Rgb(0xFFFFFF)};
    case 4: {
      std::vector<RGBQuad> palette;
      for (uint32_t color : kBasicColors) palette.push_back(Rgb(color));
      return palette;
    }
    case 8:
      return HalftonePalette();
    default:
      return {};
  }
}

TBitmap::TBitmap(int width, int height, PixelFormat format) {
  CheckStorableFormat(format);
  AdoptFormat(format);
  SetSize(width, height);
}

void TBitmap::AdoptFormat(PixelFormat format) {
  format_ = format;
  palette_ = StandardPalette(IsIndexedFormat(format) ? BitsOfFormat(format) : 0);
  const uint32_t* masks = format == PixelFormat::Bits15 ? kMasks555 : kMasks565;
  std::copy(masks, masks + 3, masks_);
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0 || width > kMaxBitmapDimension || height > kMaxBitmapDimension)
    RaiseInvalidBitmap();
  int64_t bytes = DibRowBytes(width, BitsPerPixel()) * height;
  if (bytes > kMaxBitmapBytes) RaiseInvalidBitmap();
  bits_.assign(size_t(bytes), 0);
  width_ = width;
  height_ = height;
}

void TBitmap::SetFormat(PixelFormat format) {
  if (format == format_) return;
  CheckStorableFormat(format);
  TBitmap converted(0, 0, format);
  converted.SetSize(width_, height_);
  Draw(converted, 0, 0, *this);
  *this = std::move(converted);
}

void TBitmap::SetChannelMasks(uint32_t red, uint32_t green, uint32_t blue) {
  if (format_ == PixelFormat::Bits15) return;
  masks_[0] = red;
  masks_[1] = green;
  masks_[2] = blue;
}

int TBitmap::NearestPaletteIndex(TColor color) const {
  size_t usable = palette_.size();
  if (IsIndexedFormat(format_)) usable = std::min(usable, size_t(1) << BitsPerPixel());
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (size_t i = 0; i < usable; ++i) {
    int distance = ColorDistance(color, palette_[i].ToColor());
    if (distance < bestDistance) {
      best = int(i);
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

void TBitmap::CheckPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw std::out_of_range("pixel outside bitmap");
}

TColor TBitmap::GetPixel(int x, int y) const {
  CheckPixel(x, y);
  RGBQuad quad;
  ReadColorRow(*this, y, x, 1, &quad);
  return quad.ToColor();
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  CheckPixel(x, y);
  if (IsIndexedFormat(format_)) {
    uint8_t index = uint8_t(NearestPaletteIndex(color));
    WriteIndexRow(*this, y, x, 1, &index);
  } else {
    RGBQuad quad = RGBQuad::FromColor(color);
    WriteColorRow(*this, y, x, 1, &quad);
  }
}

int TBitmap::GetIndex(int x, int y) const {
  CheckPixel(x, y);
  uint8_t index;
  ReadIndexRow(*this, y, x, 1, &index);
  return index;
}

void TBitmap::SetIndex(int x, int y, int index) {
  CheckPixel(x, y);
  uint8_t value = uint8_t(index);
  WriteIndexRow(*this, y, x, 1, &value);
}

void TBitmap::Fill(TColor color) {
  FillRect(*this, {0, 0, width_, height_}, color);
}

}  // namespace varnel

#include "graphics/pixelrow.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/byteorder.h"

namespace varnel {

ChannelField ChannelField::FromMask(uint32_t mask) {
  ChannelField field;
  if (mask == 0) return field;
  field.mask = mask;
  field.shift = std::countr_zero(mask);
  field.max = mask >> field.shift;
  int width = std::bit_width(field.max);
  if (width <= 8 && field.max == (1u << width) - 1) field.bits = width;
  return field;
}

namespace {

struct BitFields {
  ChannelField red, green, blue;
  explicit BitFields(const TBitmap& bitmap)
      : red(ChannelField::FromMask(bitmap.ChannelMasks()[0])),
        green(ChannelField::FromMask(bitmap.ChannelMasks()[1])),
        blue(ChannelField::FromMask(bitmap.ChannelMasks()[2])) {}
};

RGBQuad PaletteColor(const std::vector<RGBQuad>& palette, int index) {
  if (index >= int(palette.size())) return {};
  RGBQuad quad = palette[index];
  quad.reserved = 0;
  return quad;
}

}  // namespace

void ReadIndexRow(const TBitmap& bitmap, int y, int x, int count, uint8_t* out) {
  const uint8_t* row = bitmap.ScanLine(y);
  switch (bitmap.Format()) {
    case PixelFormat::Bits1:
      for (int i = 0; i < count; ++i) {
        int px = x + i;
        out[i] = (row[px >> 3] >> (7 - (px & 7))) & 1;
      }
      break;
    case PixelFormat::Bits4:
      for (int i = 0; i < count; ++i) {
        int px = x + i;
        out[i] = (px & 1) ? (row[px >> 1] & 0x0F) : (row[px >> 1] >> 4);
      }
      break;
    case PixelFormat::Bits8:
      std::memcpy(out, row + x, size_t(count));
      break;
    default:
      std::memset(out, 0, size_t(count));
      break;
  }
}

void WriteIndexRow(TBitmap& bitmap, int y, int x, int count, const uint8_t* in) {
  uint8_t* row = bitmap.ScanLine(y);
  switch (bitmap.Format()) {
    case PixelFormat::Bits1:
      for (int i = 0; i < count; ++i) {
        int px = x + i;
        uint8_t bit = uint8_t(0x80 >> (px & 7));
        if (in[i] & 1)
          row[px >> 3] |= bit;
        else
          row[px >> 3] &= uint8_t(~bit);
      }
      break;
    case PixelFormat::Bits4:
      for (int i = 0; i < count; ++i) {
        int px = x + i;
        uint8_t& byte = row[px >> 1];
        if (px & 1)
          byte = uint8_t((byte & 0xF0) | (in[i] & 0x0F));
        else
          byte = uint8_t((byte & 0x0F) | (in[i] << 4));
      }
      break;
    case PixelFormat::Bits8:
      std::memcpy(row + x, in, size_t(count));
      break;
    default:
      break;
  }
}

void ReadColorRow(const TBitmap& bitmap, int y, int x, int count, RGBQuad* out) {
  const uint8_t* row = bitmap.ScanLine(y);
  switch (bitmap.Format()) {
    case PixelFormat::Bits1:
    case PixelFormat::Bits4:
    case PixelFormat::Bits8: {
      // Indices first (in the output's own storage, read back to front), then colours.
      uint8_t* indices = reinterpret_cast<uint8_t*>(out) + 3 * size_t(count);
      ReadIndexRow(bitmap, y, x, count, indices);
      const auto& palette = bitmap.Palette();
      for (int i = 0; i < count; ++i) out[i] = PaletteColor(palette, indices[i]);
      break;
    }
    case PixelFormat::Bits15:
    case PixelFormat::Bits16: {
      BitFields fields(bitmap);
      const uint8_t* p = row + 2 * size_t(x);
      for (int i = 0; i < count; ++i, p += 2) {
        uint32_t pixel = ReadU16LE(p);
        out[i] = {fields.blue.Expand(pixel), fields.green.Expand(pixel), fields.red.Expand(pixel),
                  0};
      }
      break;
    }
    case PixelFormat::Bits24: {
      const uint8_t* p = row + 3 * size_t(x);
      for (int i = 0; i < count; ++i, p += 3) out[i] = {p[0], p[1], p[2], 0};
      break;
    }
    case PixelFormat::Bits32:
      std::memcpy(out, row + 4 * size_t(x), 4 * size_t(count));
      break;
    default:
      std::fill(out, out + count, RGBQuad{});
      break;
  }
}

void WriteColorRow(TBitmap& bitmap, int y, int x, int count, const RGBQuad* in) {
  uint8_t* row = bitmap.ScanLine(y);
  switch (bitmap.Format()) {
    case PixelFormat::Bits15:
    case PixelFormat::Bits16: {
      BitFields fields(bitmap);
      uint8_t* p = row + 2 * size_t(x);
      for (int i = 0; i < count; ++i, p += 2) {
        uint32_t pixel = fields.red.Compress(in[i].red) | fields.green.Compress(in[i].green) |
                         fields.blue.Compress(in[i].blue);
        WriteU16LE(p, uint16_t(pixel));
      }
      break;
    }
    case PixelFormat::Bits24: {
      uint8_t* p = row + 3 * size_t(x);
      for (int i = 0; i < count; ++i, p += 3) {
        p[0] = in[i].blue;
        p[1] = in[i].green;
        p[2] = in[i].red;
      }
      break;
    }
    case PixelFormat::Bits32:
      std::memcpy(row + 4 * size_t(x), in, 4 * size_t(count));
      break;
    default:
      break;
  }
}

}  // namespace varnel

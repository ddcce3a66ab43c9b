#include "graphics/bmpcodec.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/pixelrow.h"

namespace varnel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

enum Compression : uint32_t {
  kBiRgb = 0,
  kBiRle8 = 1,
  kBiRle4 = 2,
  kBiBitFields = 3,
  kBiAlphaBitFields = 6,
};

// An RLE bitmap may leave pixels out (deltas, early ends of lines), so its size is not bound by
// its data; still it must stay in proportion to what its bytes could describe: a 2-byte run
// gives at most 255 pixels. Beyond that proportion a small allowance covers sparse pictures.
constexpr int64_t kRlePixelsPerByte = 256;
constexpr int64_t kRleFreePixels = int64_t(1) << 20;

[[noreturn]] void RaiseInvalid() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

void Require(bool condition) {
  if (!condition) RaiseInvalid();
}

// What a DIB header says, after checking that it is one this reader can decode.
struct DibLayout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[4] = {};  // red, green, blue, alpha
  bool hasMasks = false;
  size_t paletteOffset = 0;
  size_t paletteEntrySize = 4;
  size_t paletteCount = 0;  // entries stored in the file
};

void ReadMasks(const uint8_t* p, int count, DibLayout& layout) {
  for (int i = 0; i < count; ++i) layout.masks[i] = ReadU32LE(p + 4 * i);
  layout.hasMasks = true;
}

DibLayout ParseCoreHeader(std::span<const uint8_t> dib) {
  Require(dib.size() >= kCoreHeaderSize);
  DibLayout layout;
  layout.width = ReadU16LE(&dib[4]);
  layout.height = ReadU16LE(&dib[6]);
  layout.bits = ReadU16LE(&dib[10]);
  layout.paletteOffset = kCoreHeaderSize;
  layout.paletteEntrySize = 3;
  layout.paletteCount = layout.bits <= 8 ? size_t(1) << layout.bits : 0;
  return layout;
}

DibLayout ParseInfoHeader(std::span<const uint8_t> dib, uint32_t headerSize,
                          std::optional<int32_t> heightOverride) {
  Require(dib.size() >= headerSize);
  DibLayout layout;
  int32_t width = ReadI32LE(&dib[4]);
  int32_t height = heightOverride.value_or(ReadI32LE(&dib[8]));
  Require(width >= 0 && height != INT32_MIN);
  layout.width = width;
  layout.topDown = height < 0;
  layout.height = height < 0 ? -height : height;
  layout.bits = ReadU16LE(&dib[14]);
  layout.compression = ReadU32LE(&dib[16]);
  uint32_t colorsUsed = ReadU32LE(&dib[32]);
  layout.paletteOffset = headerSize;
  if (layout.compression == kBiBitFields || layout.compression == kBiAlphaBitFields) {
    int count = layout.compression == kBiAlphaBitFields ? 4 : 3;
    if (headerSize >= kInfoHeaderSize + 4 * count) {
      // Version 2 and later headers hold the masks (and from version 3 the alpha mask).
      ReadMasks(&dib[40], headerSize >= 56 ? 4 : 3, layout);
    } else {
      Require(dib.size() >= headerSize + 4 * size_t(count));
      ReadMasks(&dib[headerSize], count, layout);
      layout.paletteOffset += 4 * size_t(count);
    }
  }
  if (colorsUsed != 0)
    layout.paletteCount = colorsUsed;
  else
    layout.paletteCount = layout.bits <= 8 ? size_t(1) << layout.bits : 0;
  return layout;
}

void CheckLayout(const DibLayout& layout) {
  Require(layout.width <= kMaxBitmapDimension && layout.height <= kMaxBitmapDimension);
  switch (layout.compression) {
    case kBiRgb:
      Require(layout.bits == 1 || layout.bits == 2 || layout.bits == 4 || layout.bits == 8 ||
              layout.bits == 16 || layout.bits == 24 || layout.bits == 32);
      break;
    case kBiRle8:
      Require(layout.bits == 8 && !layout.topDown);
      break;
    case kBiRle4:
      Require(layout.bits == 4 && !layout.topDown);
      break;
    case kBiBitFields:
    case kBiAlphaBitFields:
      Require(layout.bits == 16 || layout.bits == 32);
      if (layout.bits == 16)
        for (uint32_t mask : layout.masks) Require(mask <= 0xFFFF);
      break;
    default:
      RaiseInvalid();
  }
}

DibLayout ParseHeader(std::span<const uint8_t> dib, std::optional<int32_t> iconHeight) {
  Require(dib.size() >= 4);
  // An icon image's header is read as a 40-byte info header of its colour rows, whatever its
  // own size field says.
  uint32_t headerSize = iconHeight ? kInfoHeaderSize : ReadU32LE(dib.data());
  DibLayout layout;
  if (headerSize == kCoreHeaderSize)
    layout = ParseCoreHeader(dib);
  else if (headerSize >= kInfoHeaderSize)
    layout = ParseInfoHeader(dib, headerSize, iconHeight);
  else
    RaiseInvalid();
  CheckLayout(layout);
  return layout;
}

// Settles where the pixels start: at pixelOffset when the file header names it (a shorter
// palette than declared is then cut to what fits before the pixels), else after the palette.
size_t LocatePixels(std::span<const uint8_t> dib, DibLayout& layout,
                    std::optional<size_t> pixelOffset) {
  size_t paletteBytes = layout.paletteCount * layout.paletteEntrySize;
  Require(layout.paletteOffset <= dib.size());
  if (!pixelOffset) {
    Require(paletteBytes <= dib.size() - layout.paletteOffset);
    return layout.paletteOffset + paletteBytes;
  }
  Require(*pixelOffset >= layout.paletteOffset && *pixelOffset <= dib.size());
  size_t room = *pixelOffset - layout.paletteOffset;
  if (paletteBytes > room) layout.paletteCount = room / layout.paletteEntrySize;
  return *pixelOffset;
}

std::vector<RGBQuad> ReadPalette(std::span<const uint8_t> dib, const DibLayout& layout) {
  size_t count = std::min(layout.paletteCount, size_t(1) << layout.bits);
  std::vector<RGBQuad> palette(count);
  const uint8_t* p = dib.data() + layout.paletteOffset;
  for (size_t i = 0; i < count; ++i, p += layout.paletteEntrySize)
    palette[i] = {p[0], p[1], p[2], layout.paletteEntrySize == 4 ? p[3] : uint8_t(0)};
  return palette;
}

PixelFormat FormatOfLayout(const DibLayout& layout) {
  if (layout.bits == 2) return PixelFormat::Bits4;
  if (layout.bits != 16) return FormatOfBits(layout.bits);
  bool is555 = !layout.hasMasks ||
               (layout.masks[0] == 0x7C00 && layout.masks[1] == 0x03E0 && layout.masks[2] == 0x1F);
  return is555 ? PixelFormat::Bits15 : PixelFormat::Bits16;
}

bool HasStandard32BitMasks(const DibLayout& layout) {
  return !layout.hasMasks ||
         (layout.masks[0] == 0xFF0000 && layout.masks[1] == 0xFF00 && layout.masks[2] == 0xFF &&
          (layout.masks[3] == 0 || layout.masks[3] == 0xFF000000));
}

// Pixels of 32-bit bit-field data whose channels are not in the usual places.
void Convert32BitFieldRow(const uint8_t* in, uint8_t* out, int width, const DibLayout& layout) {
  ChannelField red = ChannelField::FromMask(layout.masks[0]);
  ChannelField green = ChannelField::FromMask(layout.masks[1]);
  ChannelField blue = ChannelField::FromMask(layout.masks[2]);
  ChannelField alpha = ChannelField::FromMask(layout.masks[3]);
  for (int x = 0; x < width; ++x, in += 4, out += 4) {
    uint32_t pixel = ReadU32LE(in);
    out[0] = blue.Expand(pixel);
    out[1] = green.Expand(pixel);
    out[2] = red.Expand(pixel);
    out[3] = alpha.Expand(pixel);
  }
}

// 2-bit pixels widened to the 4-bit format.
void Widen2BitRow(const uint8_t* in, uint8_t* out, int width) {
  for (int x = 0; x < width; x += 2) {
    int high = (in[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    int low = x + 1 < width ? (in[(x + 1) >> 2] >> (6 - 2 * ((x + 1) & 3))) & 3 : 0;
    out[x >> 1] = uint8_t((high << 4) | low);
  }
}

void ReadUncompressedPixels(std::span<const uint8_t> pixels, const DibLayout& layout,
                            TBitmap& bitmap) {
  int64_t rowBytes = DibRowBytes(layout.width, layout.bits);
  Require(rowBytes * layout.height <= int64_t(pixels.size()));
  int64_t outRowBytes = bitmap.RowBytes();
  bool convert32 = layout.bits == 32 && !HasStandard32BitMasks(layout);
  for (int row = 0; row < layout.height; ++row) {
    // Row 0 of the file is the bottom row unless the bitmap is stored top-down.
    const uint8_t* in = pixels.data() + rowBytes * row;
    int bottomUpRow = layout.topDown ? layout.height - 1 - row : row;
    uint8_t* out = bitmap.Bits().data() + outRowBytes * bottomUpRow;
    if (layout.bits == 2)
      Widen2BitRow(in, out, layout.width);
    else if (convert32)
      Convert32BitFieldRow(in, out, layout.width, layout);
    else
      std::memcpy(out, in, size_t(rowBytes));
  }
}

// Run-length decoding into the bottom-up rows of a 4- or 8-bit bitmap. Pixels outside the
// bitmap are dropped; the data ends at an end-of-bitmap escape or at its last byte.
class RleDecoder {
 public:
  RleDecoder(std::span<const uint8_t> data, TBitmap& bitmap, bool fourBit)
      : data_(data), bitmap_(bitmap), fourBit_(fourBit) {}

  void Decode() {
    while (y_ < bitmap_.Height() && Has(2)) {
      uint8_t count = data_[pos_++];
      uint8_t value = data_[pos_++];
      if (count > 0) {
        for (int i = 0; i < count; ++i)
          Put(fourBit_ ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      } else if (value == 0) {
        x_ = 0;
        ++y_;
      } else if (value == 1) {
        return;
      } else if (value == 2) {
        if (!Has(2)) return;
        x_ += data_[pos_++];
        y_ += data_[pos_++];
      } else {
        ReadAbsoluteRun(value);
      }
    }
  }

 private:
  bool Has(size_t count) const { return data_.size() - pos_ >= count; }

  void ReadAbsoluteRun(int count) {
    size_t bytes = fourBit_ ? (size_t(count) + 1) / 2 : size_t(count);
    size_t padded = (bytes + 1) & ~size_t(1);
    if (!Has(bytes)) {
      pos_ = data_.size();
      return;
    }
    const uint8_t* p = data_.data() + pos_;
    for (int i = 0; i < count; ++i)
      Put(fourBit_ ? ((i & 1) ? p[i >> 1] & 0x0F : p[i >> 1] >> 4) : p[i]);
    pos_ += std::min(padded, data_.size() - pos_);
  }

  void Put(int index) {
    if (x_ < bitmap_.Width() && y_ < bitmap_.Height()) {
      uint8_t* row = bitmap_.Bits().data() + bitmap_.RowBytes() * y_;
      if (!fourBit_)
        row[x_] = uint8_t(index);
      else if (x_ & 1)
        row[x_ >> 1] = uint8_t((row[x_ >> 1] & 0xF0) | index);
      else
        row[x_ >> 1] = uint8_t((row[x_ >> 1] & 0x0F) | (index << 4));
    }
    ++x_;
  }

  std::span<const uint8_t> data_;
  TBitmap& bitmap_;
  bool fourBit_;
  size_t pos_ = 0;
  int64_t x_ = 0;
  int64_t y_ = 0;  // counted from the bottom row
};

TBitmap DecodeDib(std::span<const uint8_t> dib, std::optional<size_t> pixelOffset,
                  size_t* colourBitsOffset, std::optional<int32_t> iconHeight = std::nullopt) {
  DibLayout layout = ParseHeader(dib, iconHeight);
  size_t offset = LocatePixels(dib, layout, pixelOffset);
  std::span<const uint8_t> pixels = dib.subspan(offset);
  bool rle = layout.compression == kBiRle4 || layout.compression == kBiRle8;
  if (rle) {
    int64_t limit = kRlePixelsPerByte * int64_t(pixels.size()) + kRleFreePixels;
    Require(int64_t(layout.width) * layout.height <= limit);
  } else {
    Require(DibRowBytes(layout.width, layout.bits) * layout.height <= int64_t(pixels.size()));
  }
  TBitmap bitmap(0, 0, FormatOfLayout(layout));
  if (layout.bits <= 8) bitmap.SetPalette(ReadPalette(dib, layout));
  if (bitmap.Format() == PixelFormat::Bits16)
    bitmap.SetChannelMasks(layout.masks[0], layout.masks[1], layout.masks[2]);
  bitmap.SetSize(layout.width, layout.height);
  if (!bitmap.Empty()) {
    if (rle)
      RleDecoder(pixels, bitmap, layout.compression == kBiRle4).Decode();
    else
      ReadUncompressedPixels(pixels, layout, bitmap);
  }
  if (colourBitsOffset) *colourBitsOffset = offset;
  return bitmap;
}

}  // namespace

TBitmap LoadDib(std::span<const uint8_t> dib, size_t* colourBitsOffset) {
  return DecodeDib(dib, std::nullopt, colourBitsOffset);
}

TBitmap LoadIconDibColor(std::span<const uint8_t> dib, int32_t colorHeight, size_t pixelOffset) {
  return DecodeDib(dib, pixelOffset, nullptr, colorHeight);
}

TBitmap LoadBmp(std::span<const uint8_t> file) {
  Require(file.size() >= kFileHeaderSize && file[0] == 'B' && file[1] == 'M');
  uint32_t pixelOffset = ReadU32LE(&file[10]);
  std::optional<size_t> dibPixelOffset;
  if (pixelOffset != 0) {
    Require(pixelOffset >= kFileHeaderSize);
    dibPixelOffset = pixelOffset - kFileHeaderSize;
  }
  return DecodeDib(file.subspan(kFileHeaderSize), dibPixelOffset, nullptr);
}

std::vector<uint8_t> SaveBmp(const TBitmap& bitmap) {
  int bits = bitmap.BitsPerPixel();
  bool indexed = IsIndexedFormat(bitmap.Format());
  bool bitFields = bitmap.Format() == PixelFormat::Bits16;
  std::vector<RGBQuad> palette;
  if (indexed) {
    palette = bitmap.Palette();
    palette.resize(std::min(palette.size(), size_t(1) << bits));
    if (palette.empty()) palette.resize(size_t(1) << bits);
  }
  size_t masksBytes = bitFields ? 12 : 0;
  size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + masksBytes + 4 * palette.size();
  size_t imageBytes = bitmap.Bits().size();
  std::vector<uint8_t> file(pixelOffset + imageBytes, 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  WriteU32LE(p + 2, uint32_t(file.size()));
  WriteU32LE(p + 10, uint32_t(pixelOffset));
  uint8_t* header = p + kFileHeaderSize;
  WriteU32LE(header, kInfoHeaderSize);
  WriteU32LE(header + 4, uint32_t(bitmap.Width()));
  WriteU32LE(header + 8, uint32_t(bitmap.Height()));
  WriteU16LE(header + 12, 1);
  WriteU16LE(header + 14, uint16_t(bits));
  WriteU32LE(header + 16, bitFields ? kBiBitFields : kBiRgb);
  WriteU32LE(header + 20, uint32_t(imageBytes));
  WriteU32LE(header + 32, uint32_t(palette.size()));
  uint8_t* tail = header + kInfoHeaderSize;
  if (bitFields) {
    for (int i = 0; i < 3; ++i) WriteU32LE(tail + 4 * i, bitmap.ChannelMasks()[i]);
    tail += 12;
  }
  if (!palette.empty()) std::memcpy(tail, palette.data(), 4 * palette.size());
  if (imageBytes) std::memcpy(p + pixelOffset, bitmap.Bits().data(), imageBytes);
  return file;
}

}  // namespace varnel

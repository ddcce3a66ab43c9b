#include "icons/psdimage.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/errors.h"
#include "icons/bigendianread.h"
#include "icons/packbits.h"
#include "icons/psdcolors.h"

namespace varnel {

namespace {

enum Mode : uint16_t { Bitmap = 0, Grey = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Duotone = 8, Lab = 9 };

// PackBits packs at most 64 bytes into one: a document whose declared pixel data (one channel
// of it) is larger than 64 times the file is refused before its picture is made.
constexpr uint64_t kMaxPackingRatio = 64;

std::optional<PixelFormat> FormatOfMode(uint16_t mode, uint16_t channels) {
  switch (mode) {
    case Bitmap:
      return PixelFormat::Bits1;
    case Grey:
    case Indexed:
    case Duotone:
      return PixelFormat::Bits8;
    case Rgb:
      return channels >= 4 ? PixelFormat::Bits32 : PixelFormat::Bits24;
    case Cmyk:
    case Lab:
      return PixelFormat::Bits24;
    default:
      return std::nullopt;
  }
}

bool IsSingleChannel(uint16_t mode) {
  return mode == Bitmap || mode == Grey || mode == Indexed || mode == Duotone;
}

void CheckAvailable(Stream& stream, uint64_t count) {
  if (count > uint64_t(stream.Remaining())) throw EReadError();
}

void Skip(Stream& stream, uint64_t count) {
  CheckAvailable(stream, count);
  stream.Seek(int64_t(count), SeekOrigin::Current);
}

std::vector<uint8_t> ReadChecked(Stream& stream, uint64_t count) {
  CheckAvailable(stream, count);
  return stream.ReadBytes(size_t(count));
}

// The row byte counts of packed image data: rows x channels of them.
std::vector<uint16_t> ReadRowCounts(Stream& stream, uint64_t count) {
  std::vector<uint8_t> bytes = ReadChecked(stream, count * 2);
  std::vector<uint16_t> counts(static_cast<size_t>(count));
  for (size_t i = 0; i < counts.size(); ++i) counts[i] = ReadU16BE(bytes.data() + 2 * i);
  return counts;
}

std::vector<RGBQuad> GreyPalette() {
  std::vector<RGBQuad> palette(256);
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return palette;
}

// The colour of one pixel of a three-colour document from its plane samples (16 bits wide:
// 8-bit samples in the high byte).
RGBQuad PixelOfPlanes(uint16_t mode, int depth, const uint16_t* s) {
  if (mode == Cmyk)
    return depth == 16 ? CmykPixel16(s[0], s[1], s[2], s[3])
                       : CmykPixel(uint8_t(s[0] >> 8), uint8_t(s[1] >> 8), uint8_t(s[2] >> 8),
                                   uint8_t(s[3] >> 8));
  if (mode == Lab) return LabPixel(uint8_t(s[0] >> 8), uint8_t(s[1] >> 8), uint8_t(s[2] >> 8));
  return {uint8_t(s[2] >> 8), uint8_t(s[1] >> 8), uint8_t(s[0] >> 8), uint8_t(s[3] >> 8)};
}

int PlanesNeeded(uint16_t mode) {
  return mode == Cmyk ? 4 : 3;
}

}  // namespace

void TPSDImage::LoadFromStream(Stream& stream) {
  uint8_t header[26];
  stream.ReadBuffer(header, sizeof header);
  if (std::memcmp(header, "8BPS", 4) != 0) throw EInvalidGraphic("Invalid stream format");
  Header = {ReadU16BE(header + 12), ReadU32BE(header + 14), ReadU32BE(header + 18),
            ReadU16BE(header + 22), ReadU16BE(header + 24)};
  Layers.clear();
  if (Header.Width > uint32_t(kMaxBitmapDimension) || Header.Height > uint32_t(kMaxBitmapDimension))
    throw EInvalidGraphic("Invalid stream format");
  uint64_t channelBytes =
      (uint64_t(Header.Width) * std::max<uint16_t>(Header.Depth, 1) + 7) / 8 * Header.Height;
  if (channelBytes > kMaxPackingRatio * uint64_t(stream.Size())) throw EReadError();
  std::optional<PixelFormat> format = FormatOfMode(Header.Mode, Header.Channels);
  // Every document holds at least one channel; the packed composite has a row count per row of
  // each channel, and a single-channel picture reads the first channel's.
  if (Header.Channels == 0) throw EInvalidGraphic("Invalid stream format");
  if (format && !IsSingleChannel(Header.Mode) && Header.Channels < PlanesNeeded(Header.Mode))
    throw EInvalidGraphic("Invalid stream format");
  static_cast<TBitmap&>(*this) = TBitmap(0, 0, format.value_or(Format()));
  ReadColorModeData(stream);
  SetSize(int(Header.Width), int(Header.Height));
  Skip(stream, ReadU32BE(stream));  // image resources
  ReadLayerSection(stream);
  if (format) ReadComposite(stream);
}

void TPSDImage::ReadColorModeData(Stream& stream) {
  uint32_t length = ReadU32BE(stream);
  CheckAvailable(stream, length);
  int64_t end = stream.Position() + length;
  if (Header.Mode == Indexed && length >= ColorTable.size())
    stream.ReadBuffer(ColorTable.data(), ColorTable.size());
  stream.SetPosition(end);
  if (Header.Mode == Bitmap) {
    SetPalette({RGBQuad::FromColor(clWhite), RGBQuad::FromColor(clBlack)});
  } else if (Header.Mode == Grey || Header.Mode == Duotone) {
    SetPalette(GreyPalette());
  } else if (Header.Mode == Indexed) {
    std::vector<RGBQuad> palette(256);
    for (size_t i = 0; i < 256; ++i)
      palette[i] = {ColorTable[512 + i], ColorTable[256 + i], ColorTable[i], 0};
    SetPalette(std::move(palette));
  }
}

void TPSDImage::ReadComposite(Stream& stream) {
  bool packed = ReadU16BE(stream) == 1;
  if (IsSingleChannel(Header.Mode))
    ReadSingleChannel(stream, packed);
  else
    ReadColorPlanes(stream, packed);
}

void TPSDImage::ReadSingleChannel(Stream& stream, bool packed) {
  if (Header.Depth != 1 && Header.Depth != 8 && Header.Depth != 16) return;  // stays blank
  uint64_t rowBytes = (uint64_t(Header.Width) * Header.Depth + 7) / 8;
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  // Keeps the row in the bitmap's row: 16-bit samples by their high byte.
  auto store = [&](int y) {
    uint8_t* out = ScanLine(y);
    if (Header.Depth == 16 && Header.Mode != Bitmap) {
      for (uint32_t x = 0; x < Header.Width; ++x) out[x] = row[2 * x];
    } else {
      std::memcpy(out, row.data(), size_t(std::min<uint64_t>(rowBytes, uint64_t(RowBytes()))));
    }
  };
  if (!packed) {
    for (uint32_t y = 0; y < Header.Height; ++y) {
      stream.ReadBuffer(row.data(), row.size());
      store(int(y));
    }
    return;
  }
  std::vector<uint16_t> counts = ReadRowCounts(stream, uint64_t(Header.Height) * Header.Channels);
  uint64_t total = 0;
  for (uint32_t y = 0; y < Header.Height; ++y) total += counts[y];
  std::vector<uint8_t> data = ReadChecked(stream, total);
  size_t at = 0;
  for (uint32_t y = 0; y < Header.Height; ++y) {
    std::fill(row.begin(), row.end(), uint8_t(0));
    UnpackBits(std::span(data).subspan(at, counts[y]), row);
    at += counts[y];
    store(int(y));
  }
}

void TPSDImage::ReadColorPlanes(Stream& stream, bool packed) {
  if (Header.Depth != 8 && Header.Depth != 16) return;  // the picture stays blank
  uint64_t sampleBytes = Header.Depth / 8;
  uint64_t plane = uint64_t(Header.Width) * Header.Height * sampleBytes;
  int planes = std::min<int>(Header.Channels, Header.Mode == Rgb ? 4 : PlanesNeeded(Header.Mode));
  if (plane * uint64_t(planes) > kMaxPackingRatio * uint64_t(stream.Size())) throw EReadError();
  std::vector<uint8_t> data;
  if (packed) {
    std::vector<uint16_t> counts = ReadRowCounts(stream, uint64_t(Header.Height) * Header.Channels);
    uint64_t total = 0;
    for (uint16_t count : counts) total += count;
    std::vector<uint8_t> bytes = ReadChecked(stream, total);
    data.assign(size_t(plane * uint64_t(planes)), 0);
    UnpackBits(bytes, data);
  } else {
    data = ReadChecked(stream, plane * uint64_t(planes));
  }
  bool alpha = Format() == PixelFormat::Bits32;
  int pixelBytes = alpha ? 4 : 3;
  uint16_t samples[4] = {0, 0, 0, 0xFFFF};
  for (uint32_t y = 0; y < Header.Height; ++y) {
    uint8_t* out = ScanLine(int(y));
    for (uint32_t x = 0; x < Header.Width; ++x) {
      uint64_t at = (uint64_t(y) * Header.Width + x) * sampleBytes;
      for (int p = 0; p < planes; ++p) {
        const uint8_t* sample = data.data() + uint64_t(p) * plane + at;
        samples[p] = sampleBytes == 2 ? ReadU16BE(sample) : uint16_t(sample[0] << 8);
      }
      RGBQuad pixel = PixelOfPlanes(Header.Mode, Header.Depth, samples);
      std::memcpy(out + x * uint32_t(pixelBytes), &pixel, size_t(pixelBytes));
    }
  }
}

}  // namespace varnel

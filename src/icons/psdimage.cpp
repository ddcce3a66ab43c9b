#include "icons/psdimage.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "base/errors.h"
#include "icons/packbits.h"
#include "icons/psdcolors.h"

namespace varnel {

namespace {

enum Mode : uint16_t {
  Bitmap = 0,
  Grey = 1,
  Indexed = 2,
  Rgb = 3,
  Cmyk = 4,
  Multichannel = 7,
  Duotone = 8,
  Lab = 9
};

constexpr uint16_t kTransparencyIndexResource = 1047;

// PackBits packs at most 64 bytes into one: a document whose declared pixel data (one channel
// of it) is larger than 64 times the file is refused before its picture is made.
constexpr uint64_t kMaxPackingRatio = 64;

const char* ModeName(uint16_t mode) {
  switch (mode) {
    case Bitmap:
      return "Bitmap";
    case Grey:
      return "Grayscale";
    case Indexed:
      return "Indexed";
    case Rgb:
      return "RGB";
    case Cmyk:
      return "CMYK";
    case Multichannel:
      return "Multichannel";
    case Duotone:
      return "Duotone";
    case Lab:
      return "Lab";
    default:
      return nullptr;
  }
}

// Whether a mode is read at a depth: bitmaps of 1 bit, indexed pictures of 8, CMYK, Lab and
// multichannel pictures of 8 or 16, grey, duotone and RGB pictures also of 32 (floats).
bool IsReadable(uint16_t mode, uint16_t depth) {
  switch (mode) {
    case Bitmap:
      return depth == 1;
    case Indexed:
      return depth == 8;
    case Cmyk:
    case Lab:
    case Multichannel:
      return depth == 8 || depth == 16;
    case Grey:
    case Duotone:
    case Rgb:
      return depth == 8 || depth == 16 || depth == 32;
    default:
      return false;
  }
}

void CheckReadable(const TPSDHeader& header) {
  if (IsReadable(header.Mode, header.Depth)) return;
  const char* name = ModeName(header.Mode);
  std::string mode =
      name ? std::string(name) + " mode" : "colour mode " + std::to_string(header.Mode);
  throw EInvalidGraphic("Photoshop documents in " + mode + " with " + std::to_string(header.Depth) +
                        " bits per channel are not read");
}

// The colour planes a composite is made of, and whether one more plane gives its transparency.
int ColorPlanes(uint16_t mode) {
  switch (mode) {
    case Rgb:
    case Lab:
      return 3;
    case Cmyk:
      return 4;
    default:
      return 1;
  }
}

bool HasAlphaPlane(const TPSDHeader& header) {
  return header.Mode != Bitmap && header.Mode != Indexed && header.Mode != Multichannel &&
         header.Channels > ColorPlanes(header.Mode);
}

// Pictures of one plane of 1, 8 or 16 bits keep a palette (a multichannel picture is the grey
// picture of its first channel); all others become true-colour pictures, 32-bit when they hold
// a transparency plane.
bool IsPalettePicture(const TPSDHeader& header) {
  if (header.Mode == Bitmap || header.Mode == Indexed || header.Mode == Multichannel) return true;
  return ColorPlanes(header.Mode) == 1 && header.Channels == 1 && header.Depth != 32;
}

PixelFormat FormatOf(const TPSDHeader& header) {
  if (header.Mode == Bitmap) return PixelFormat::Bits1;
  if (IsPalettePicture(header)) return PixelFormat::Bits8;
  return HasAlphaPlane(header) ? PixelFormat::Bits32 : PixelFormat::Bits24;
}

void CheckAvailable(Stream& stream, uint64_t count) {
  if (count > uint64_t(stream.Remaining())) throw EReadError();
}

std::vector<uint8_t> ReadChecked(Stream& stream, uint64_t count) {
  CheckAvailable(stream, count);
  return stream.ReadBytes(size_t(count));
}

std::vector<RGBQuad> GreyPalette() {
  std::vector<RGBQuad> palette(256);
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return palette;
}

// The colour of one pixel of a true-colour composite from its plane samples (0..65535); the
// sample after the colour planes is the transparency.
RGBQuad PixelOfPlanes(uint16_t mode, int depth, const uint16_t* s) {
  RGBQuad pixel;
  if (mode == Cmyk)
    pixel = depth == 16 ? CmykPixel16(s[0], s[1], s[2], s[3])
                        : CmykPixel(uint8_t(s[0] >> 8), uint8_t(s[1] >> 8), uint8_t(s[2] >> 8),
                                    uint8_t(s[3] >> 8));
  else if (mode == Lab)
    pixel = LabPixel16(s[0], s[1], s[2]);
  else if (mode == Rgb)
    pixel = {uint8_t(s[2] >> 8), uint8_t(s[1] >> 8), uint8_t(s[0] >> 8), 0};
  else
    pixel = {uint8_t(s[0] >> 8), uint8_t(s[0] >> 8), uint8_t(s[0] >> 8), 0};
  pixel.reserved = uint8_t(s[ColorPlanes(mode)] >> 8);
  return pixel;
}

}  // namespace

void TPSDImage::LoadFromStream(Stream& stream) {
  ReadHeader(stream);
  Layers.clear();
  TransparencyIndex.reset();
  static_cast<TBitmap&>(*this) = TBitmap(0, 0, FormatOf(Header));
  ReadColorModeData(stream);
  SetSize(int(Header.Width), int(Header.Height));
  ReadImageResources(stream);
  ReadLayerSection(stream);
  ReadComposite(stream);
  ApplyTransparencyIndex();
}

void TPSDImage::ReadHeader(Stream& stream) {
  uint8_t header[26];
  stream.ReadBuffer(header, sizeof header);
  if (std::memcmp(header, "8BPS", 4) != 0) throw EInvalidGraphic("Invalid stream format");
  Header = {ReadU16BE(header + 4),  ReadU16BE(header + 12), ReadU32BE(header + 14),
            ReadU32BE(header + 18), ReadU16BE(header + 22), ReadU16BE(header + 24)};
  if (Header.Version != 1 && Header.Version != 2)
    throw EInvalidGraphic("Photoshop documents of version " + std::to_string(Header.Version) +
                          " are not read");
  if (Header.Width > uint32_t(kMaxBitmapDimension) || Header.Height > uint32_t(kMaxBitmapDimension))
    throw EInvalidGraphic("Invalid stream format");
  // Every document holds at least one channel; the packed composite has a row count per row of
  // each channel, and a single-channel picture reads the first channel's.
  if (Header.Channels == 0) throw EInvalidGraphic("Invalid stream format");
  CheckReadable(Header);
  if (Header.Channels < ColorPlanes(Header.Mode)) throw EInvalidGraphic("Invalid stream format");
  uint64_t channelBytes =
      (uint64_t(Header.Width) * std::max<uint16_t>(Header.Depth, 1) + 7) / 8 * Header.Height;
  if (channelBytes > kMaxPackingRatio * uint64_t(stream.Size())) throw EReadError();
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
  } else if (Header.Mode == Indexed) {
    std::vector<RGBQuad> palette(256);
    for (size_t i = 0; i < 256; ++i)
      palette[i] = {ColorTable[512 + i], ColorTable[256 + i], ColorTable[i], 0};
    SetPalette(std::move(palette));
  } else if (Format() == PixelFormat::Bits8) {
    SetPalette(GreyPalette());
  }
}

// Image resources: blocks of signature, id, padded Pascal name, length and padded data. Only
// the transparency index of an indexed picture is used.
void TPSDImage::ReadImageResources(Stream& stream) {
  uint32_t length = ReadU32BE(stream);
  std::vector<uint8_t> bytes = ReadChecked(stream, length);
  size_t at = 0;
  while (bytes.size() - at >= 8) {
    uint16_t id = ReadU16BE(bytes.data() + at + 4);
    size_t name = size_t(bytes[at + 6]) + 1;
    at += 6 + name + (name & 1);
    if (bytes.size() - std::min(at, bytes.size()) < 4) break;
    uint32_t size = ReadU32BE(bytes.data() + at);
    at += 4;
    if (size > bytes.size() - at) break;
    if (id == kTransparencyIndexResource && size >= 2 && Header.Mode == Indexed) {
      uint16_t index = ReadU16BE(bytes.data() + at);
      if (index < 256) TransparencyIndex = uint8_t(index);
    }
    at += size + (size & 1);
  }
}

// An indexed picture with a transparent index becomes a 32-bit picture, that index clear.
void TPSDImage::ApplyTransparencyIndex() {
  if (!TransparencyIndex || Empty()) return;
  TBitmap picture(Width(), Height(), PixelFormat::Bits32);
  for (int y = 0; y < Height(); ++y) {
    const uint8_t* in = ScanLine(y);
    uint8_t* out = picture.ScanLine(y);
    for (int x = 0; x < Width(); ++x) {
      RGBQuad pixel = Palette()[in[x]];
      pixel.reserved = in[x] == *TransparencyIndex ? 0 : 255;
      std::memcpy(out + 4 * x, &pixel, 4);
    }
  }
  static_cast<TBitmap&>(*this) = std::move(picture);
}

std::vector<uint64_t> TPSDImage::ReadRowCounts(Stream& stream) const {
  uint64_t count = uint64_t(Header.Height) * Header.Channels;
  int width = Header.RowCountBytes();
  std::vector<uint8_t> bytes = ReadChecked(stream, count * uint64_t(width));
  std::vector<uint64_t> counts(static_cast<size_t>(count));
  for (size_t i = 0; i < counts.size(); ++i)
    counts[i] = width == 4 ? ReadU32BE(bytes.data() + 4 * i) : ReadU16BE(bytes.data() + 2 * i);
  return counts;
}

void TPSDImage::ReadComposite(Stream& stream) {
  bool packed = ReadU16BE(stream) == 1;
  if (IsPalettePicture(Header))
    ReadSingleChannel(stream, packed);
  else
    ReadColorPlanes(stream, packed);
}

void TPSDImage::ReadSingleChannel(Stream& stream, bool packed) {
  uint64_t rowBytes = (uint64_t(Header.Width) * Header.Depth + 7) / 8;
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  // Keeps the row in the bitmap's row: 16-bit samples by their high byte.
  auto store = [&](int y) {
    uint8_t* out = ScanLine(y);
    if (Header.Depth == 16) {
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
  std::vector<uint64_t> counts = ReadRowCounts(stream);
  uint64_t total = 0;
  for (uint32_t y = 0; y < Header.Height; ++y) total += counts[y];
  std::vector<uint8_t> data = ReadChecked(stream, total);
  size_t at = 0;
  for (uint32_t y = 0; y < Header.Height; ++y) {
    std::fill(row.begin(), row.end(), uint8_t(0));
    UnpackBits(std::span(data).subspan(at, size_t(counts[y])), row);
    at += size_t(counts[y]);
    store(int(y));
  }
}

void TPSDImage::ReadColorPlanes(Stream& stream, bool packed) {
  int sampleBytes = Header.SampleBytes();
  uint64_t plane = uint64_t(Header.Width) * Header.Height * uint64_t(sampleBytes);
  bool alpha = Format() == PixelFormat::Bits32;
  int planes = ColorPlanes(Header.Mode) + (alpha ? 1 : 0);
  if (plane * uint64_t(planes) > kMaxPackingRatio * uint64_t(stream.Size())) throw EReadError();
  std::vector<uint8_t> data;
  if (packed) {
    std::vector<uint64_t> counts = ReadRowCounts(stream);
    uint64_t total = 0;
    for (uint64_t count : counts) total += count;
    std::vector<uint8_t> bytes = ReadChecked(stream, total);
    data.assign(size_t(plane * uint64_t(planes)), 0);
    UnpackBits(bytes, data);
  } else {
    data = ReadChecked(stream, plane * uint64_t(planes));
  }
  int pixelBytes = alpha ? 4 : 3;
  uint16_t samples[5] = {0, 0, 0, 0, 0xFFFF};
  for (uint32_t y = 0; y < Header.Height; ++y) {
    uint8_t* out = ScanLine(int(y));
    for (uint32_t x = 0; x < Header.Width; ++x) {
      uint64_t at = (uint64_t(y) * Header.Width + x) * uint64_t(sampleBytes);
      for (int p = 0; p < planes; ++p)
        samples[p] = PsdSample(data.data() + uint64_t(p) * plane + at, sampleBytes);
      RGBQuad pixel = PixelOfPlanes(Header.Mode, Header.Depth, samples);
      std::memcpy(out + x * uint32_t(pixelBytes), &pixel, size_t(pixelBytes));
    }
  }
}

}  // namespace varnel

#include "icons/pcximage.h"

#include <algorithm>
#include <cstring>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/canvas.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteTrailer = 769;  // the marker 12 and 256 RGB entries
// Run-length data packs at most 63 bytes into two.
constexpr int64_t kMaxPackingRatio = 32;

struct PcxHeader {
  int version, encoding, bits, planes, lineBytes, paletteType;
  int width, height;
  const uint8_t* palette16;
};

[[noreturn]] void InvalidImage() {
  throw EInvalidGraphic("Invalid PCX image");
}

PcxHeader ParseHeader(const uint8_t* h) {
  if (h[0] != 10 && h[0] != 205) InvalidImage();
  PcxHeader header{h[1],
                   h[2],
                   h[3],
                   h[65],
                   ReadU16LE(h + 66),
                   ReadU16LE(h + 68),
                   ReadU16LE(h + 8) - ReadU16LE(h + 4) + 1,
                   ReadU16LE(h + 10) - ReadU16LE(h + 6) + 1,
                   h + 16};
  if (header.width <= 0 || header.height <= 0) InvalidImage();
  return header;
}

PixelFormat FormatOf(const PcxHeader& h) {
  if (h.planes == 1 && h.bits == 1) return PixelFormat::Bits1;
  if (h.planes == 1 && (h.bits == 2 || h.bits == 4)) return PixelFormat::Bits4;
  if (h.planes == 1 && h.bits == 8) return PixelFormat::Bits8;
  if (h.planes == 3 && h.bits == 8) return PixelFormat::Bits24;
  // Four 8-bit planes: red, green, blue and alpha.
  if (h.planes == 4 && h.bits == 8) return PixelFormat::Bits32;
  // Three or four 1-bit planes: 8 or 16 colours.
  if ((h.planes == 3 || h.planes == 4) && h.bits == 1) return PixelFormat::Bits4;
  throw EInvalidGraphic("Invalid Color Format");
}

std::vector<RGBQuad> ColorsOf(const uint8_t* rgb, int count) {
  std::vector<RGBQuad> palette(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    palette[size_t(i)] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
  return palette;
}

std::vector<RGBQuad> Greys(int count) {
  std::vector<RGBQuad> palette(static_cast<size_t>(count));
  int step = 255 / (count - 1);
  for (int i = 0; i < count; ++i)
    palette[size_t(i)] = RGBQuad::FromColor(TColor(i * step) * 0x010101);
  return palette;
}

// The palette of an indexed picture; empty to keep the format's standard one.
std::vector<RGBQuad> PaletteOf(const PcxHeader& h, PixelFormat format,
                               std::span<const uint8_t> file) {
  if (h.version == 3 && format != PixelFormat::Bits1) return StandardPalette(4);
  if (format == PixelFormat::Bits1) return StandardPalette(1);
  if (format == PixelFormat::Bits4)
    return h.paletteType == 2 ? Greys(16) : ColorsOf(h.palette16, 16);
  if (file.size() >= kHeaderSize + kPaletteTrailer && file[file.size() - kPaletteTrailer] == 12)
    return ColorsOf(file.data() + file.size() - kPaletteTrailer + 1, 256);
  return h.paletteType == 2 ? Greys(256) : std::vector<RGBQuad>{};
}

// Decodes the rows one after another: runs of (byte AND 63) copies after a byte of 192 or
// more, other bytes as they stand; a run is cut at the end of the rows.
class RowDecoder {
 public:
  RowDecoder(std::span<const uint8_t> data, bool encoded) : data_(data), encoded_(encoded) {}
  void Next(std::span<uint8_t> row) {
    std::fill(row.begin(), row.end(), uint8_t(0));
    for (size_t x = 0; x < row.size();) {
      if (pending_) {
        size_t count = std::min(pending_, row.size() - x);
        std::memset(row.data() + x, runValue_, count);
        x += count;
        pending_ -= count;
        continue;
      }
      if (at_ >= data_.size()) return;
      uint8_t byte = data_[at_++];
      if (encoded_ && byte >= 192) {
        pending_ = byte & 63;
        runValue_ = at_ < data_.size() ? data_[at_++] : 0;
      } else {
        row[x++] = byte;
      }
    }
  }

 private:
  std::span<const uint8_t> data_;
  bool encoded_;
  size_t at_ = 0;
  size_t pending_ = 0;
  uint8_t runValue_ = 0;
};

// One row of plane-after-plane bytes into a bitmap row.
void StoreRow(const PcxHeader& h, const uint8_t* row, uint8_t* out, int width) {
  const uint8_t* planes[4] = {row, row + h.lineBytes, row + 2 * h.lineBytes, row + 3 * h.lineBytes};
  if (h.planes >= 3 && h.bits == 8) {
    int pixelBytes = h.planes;
    for (int x = 0; x < width; ++x) {
      out[x * pixelBytes] = planes[2][x];
      out[x * pixelBytes + 1] = planes[1][x];
      out[x * pixelBytes + 2] = planes[0][x];
      if (pixelBytes == 4) out[x * 4 + 3] = planes[3][x];
    }
  } else if (h.planes >= 3) {
    for (int x = 0; x < width; ++x) {
      int index = 0;
      for (int p = 0; p < h.planes; ++p) index |= ((planes[p][x / 8] >> (7 - x % 8)) & 1) << p;
      out[x / 2] |= uint8_t(x % 2 ? index : index << 4);
    }
  } else if (h.bits == 2) {
    for (int x = 0; x < width; ++x) {
      int index = (row[x / 4] >> (6 - 2 * (x % 4))) & 3;
      out[x / 2] |= uint8_t(x % 2 ? index : index << 4);
    }
  } else {
    std::memcpy(out, row, size_t((int64_t(width) * h.bits + 7) / 8));
  }
}

}  // namespace

void TPCXImage::LoadFromStream(Stream& stream) {
  std::vector<uint8_t> file = stream.ReadBytes(size_t(stream.Remaining()));
  if (file.size() < kHeaderSize) throw EReadError();
  PcxHeader h = ParseHeader(file.data());
  PixelFormat format = FormatOf(h);
  if (int64_t(h.lineBytes) * 8 < int64_t(h.width) * h.bits) InvalidImage();
  size_t end = file.size();
  if (format == PixelFormat::Bits8)
    end = std::max(kHeaderSize, end - std::min(end, kPaletteTrailer));
  std::span<const uint8_t> data = std::span(file).subspan(kHeaderSize, end - kHeaderSize);
  int64_t rowBytes = int64_t(h.planes) * h.lineBytes;
  if (rowBytes * h.height > kMaxPackingRatio * int64_t(data.size()) + rowBytes) InvalidImage();

  TBitmap bitmap(h.width, h.height, format);
  if (BitsOfFormat(format) <= 8) {
    std::vector<RGBQuad> palette = PaletteOf(h, format, file);
    if (!palette.empty()) bitmap.SetPalette(std::move(palette));
  }
  RowDecoder decoder(data, h.encoding == 1);
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  for (int y = 0; y < h.height; ++y) {
    decoder.Next(row);
    StoreRow(h, row.data(), bitmap.ScanLine(y), h.width);
  }
  static_cast<TBitmap&>(*this) = std::move(bitmap);
}

TBitmap ReadPcxAs32Bit(std::span<const uint8_t> bytes) {
  SpanStream stream(bytes);
  TPCXImage picture;
  picture.LoadFromStream(stream);
  if (picture.Format() == PixelFormat::Bits32) return TBitmap(std::move(picture));
  TBitmap result = ConvertFormat(picture, PixelFormat::Bits32);
  SetOpaque(result);
  return result;
}

void LoadPcxFile(TBitmap& bitmap, const std::string& fileName) {
  std::vector<uint8_t> bytes = ReadWholeFile(fileName);
  SpanStream stream(bytes);
  TPCXImage picture;
  picture.LoadFromStream(stream);
  bitmap = std::move(picture);
}

const TPictureFormat& PcxPictureFormat() {
  static const TPictureFormat kFormat{"PCX Image",
                                      [](Stream& stream) {
                                        TPCXImage picture;
                                        picture.LoadFromStream(stream);
                                        return TBitmap(std::move(picture));
                                      },
                                      nullptr,
                                      false,
                                      "PCX",
                                      true};
  return kFormat;
}

namespace {

const bool kPcxRegistered = (RegisterPictureFormat("pcx", PcxPictureFormat()), true);

}  // namespace

}  // namespace varnel

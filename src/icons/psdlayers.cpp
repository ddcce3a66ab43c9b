// The layers of a Photoshop document: the layer and mask section, and each layer as a picture.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/errors.h"
#include "icons/bigendianread.h"
#include "icons/packbits.h"
#include "icons/psdcolors.h"
#include "icons/psdimage.h"

namespace varnel {

namespace {

// A layer channel's samples come packed at most 64 to 1 (two bytes give 128).
constexpr int64_t kMaxPackingRatio = 64;
constexpr int64_t kMaxLayerSide = int64_t(1) << 24;

TPSDLayer ReadLayerRecord(Stream& stream, const TPSDHeader& header, int64_t sectionEnd) {
  TPSDLayer layer;
  layer.Top = int32_t(ReadU32BE(stream));
  layer.Left = int32_t(ReadU32BE(stream));
  layer.Bottom = int32_t(ReadU32BE(stream));
  layer.Right = int32_t(ReadU32BE(stream));
  int16_t count = int16_t(ReadU16BE(stream));
  if (count > 0 && int64_t(count) * (2 + header.LengthBytes()) > sectionEnd - stream.Position())
    throw EReadError();
  for (int i = 0; i < count; ++i) {
    int16_t id = int16_t(ReadU16BE(stream));
    layer.Channels.push_back({id, header.ReadLength(stream)});
  }
  char signature[4];
  stream.ReadBuffer(signature, 4);
  if (std::memcmp(signature, "8BIM", 4) != 0) throw EInvalidGraphic("Invalid stream format");
  stream.ReadBuffer(layer.BlendMode.data(), 4);
  uint8_t bytes[4];  // opacity, clipping, flags, filler
  stream.ReadBuffer(bytes, 4);
  layer.Opacity = bytes[0];
  layer.Clipping = bytes[1];
  layer.Flags = bytes[2];
  uint32_t extra = ReadU32BE(stream);
  if (int64_t(extra) > sectionEnd - stream.Position()) throw EReadError();
  layer.ExtraData = stream.ReadBytes(extra);
  return layer;
}

// One channel's samples, rows of the layer's width, decoded from the start of bytes; empty
// when bytes do not hold them all (or use a compression other than PackBits and none). used
// receives the count of bytes the channel's data took.
std::vector<uint8_t> DecodeChannel(std::span<const uint8_t> bytes, const TPSDLayer& layer,
                                   const TPSDHeader& header, size_t& used) {
  used = 0;
  int64_t width = layer.LayerWidth(), height = layer.LayerHeight();
  if (layer.IsEmpty() || bytes.size() < 2) return {};
  uint16_t compression = ReadU16BE(bytes.data());
  used = 2;
  int sampleBytes = header.SampleBytes(), countBytes = header.RowCountBytes();
  int64_t rowBytes = width * sampleBytes;
  if (width > kMaxLayerSide || height > kMaxLayerSide ||
      width * height > kMaxPackingRatio * int64_t(bytes.size()))
    return {};
  bool packed = compression == 1;
  int64_t needed = packed ? countBytes * height : rowBytes * height;
  if ((!packed && compression != 0) || int64_t(bytes.size()) - 2 < needed) return {};
  std::span<const uint8_t> data = bytes.subspan(2 + size_t(packed ? needed : 0));
  used += size_t(packed ? needed : 0);
  std::vector<uint8_t> samples(static_cast<size_t>(width * height));
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  size_t at = 0;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* rowCount = bytes.data() + 2 + countBytes * y;
    size_t count = !packed           ? size_t(rowBytes)
                   : countBytes == 4 ? ReadU32BE(rowCount)
                                     : ReadU16BE(rowCount);
    count = std::min(count, data.size() - at);
    std::fill(row.begin(), row.end(), uint8_t(0));
    if (packed)
      UnpackBits(data.subspan(at, count), row);
    else
      std::copy_n(data.data() + at, count, row.begin());
    at += count;
    // Wider samples keep their high byte.
    for (int64_t x = 0; x < width; ++x)
      samples[size_t(y * width + x)] =
          uint8_t(PsdSample(row.data() + x * sampleBytes, sampleBytes) >> 8);
  }
  used += at;
  return samples;
}

// The sample block of the channel with an id, or null.
const std::vector<uint8_t>* ChannelById(const TPSDLayer& layer, int id) {
  for (size_t i = 0; i < layer.Channels.size() && i < layer.ChannelData.size(); ++i)
    if (layer.Channels[i].id == id && !layer.ChannelData[i].empty()) return &layer.ChannelData[i];
  return nullptr;
}

}  // namespace

void TPSDImage::ReadLayerSection(Stream& stream) {
  uint64_t length = Header.ReadLength(stream);
  if (length == 0) return;
  if (length > uint64_t(stream.Remaining())) throw EReadError();
  int64_t sectionEnd = stream.Position() + int64_t(length);
  if (Header.ReadLength(stream) != 0) {
    int count = std::abs(int(int16_t(ReadU16BE(stream))));
    for (int i = 0; i < count && stream.Position() < sectionEnd; ++i)
      Layers.push_back(ReadLayerRecord(stream, Header, sectionEnd));
    std::vector<uint8_t> data =
        stream.ReadBytes(size_t(std::max<int64_t>(0, sectionEnd - stream.Position())));
    // Each channel starts where the one before ended: after its recorded length, or without
    // one after the bytes its rows took.
    size_t at = 0;
    for (TPSDLayer& layer : Layers)
      for (const TPSDChannelInfo& channel : layer.Channels) {
        size_t used = 0;
        std::span<const uint8_t> rest = std::span(data).subspan(std::min(at, data.size()));
        if (channel.length) rest = rest.first(std::min<size_t>(rest.size(), channel.length));
        layer.ChannelData.push_back(DecodeChannel(rest, layer, Header, used));
        at += channel.length ? size_t(std::min<uint64_t>(channel.length, data.size())) : used;
      }
  }
  stream.SetPosition(sectionEnd);
}

void TPSDImage::GetLayerBitmap(int index, TBitmap& bitmap) const {
  const TPSDLayer& layer = Layers.at(size_t(index));
  size_t count = layer.Channels.size();
  if (count < 2) {
    bitmap = TBitmap();
    bitmap.SetSize(0, 0);
    return;
  }
  bool alpha = count != 3;
  bitmap = TBitmap(int(Header.Width), int(Header.Height),
                   alpha ? PixelFormat::Bits32 : PixelFormat::Bits24);
  const std::vector<uint8_t>* red = ChannelById(layer, 0);
  const std::vector<uint8_t>* green = count == 2 ? red : ChannelById(layer, 1);
  const std::vector<uint8_t>* blue = count == 2 ? red : ChannelById(layer, 2);
  const std::vector<uint8_t>* black = ChannelById(layer, 3);
  const std::vector<uint8_t>* transparency = ChannelById(layer, -1);
  bool cmyk = Header.Mode == 4 && count != 2, lab = Header.Mode == 9 && count != 2;
  if (!red || !green || !blue || (alpha && !transparency) || (cmyk && !black)) return;
  int pixelBytes = alpha ? 4 : 3;
  int64_t width = layer.LayerWidth();
  for (int64_t y = std::max<int64_t>(0, -int64_t(layer.Top)); y < layer.LayerHeight(); ++y) {
    int64_t row = layer.Top + y;
    if (row >= int64_t(Header.Height)) break;
    uint8_t* out = bitmap.ScanLine(int(row));
    for (int64_t x = std::max<int64_t>(0, -int64_t(layer.Left)); x < width; ++x) {
      int64_t column = layer.Left + x;
      if (column >= int64_t(Header.Width)) break;
      size_t i = size_t(y * width + x);
      RGBQuad pixel = cmyk  ? CmykPixel((*red)[i], (*green)[i], (*blue)[i], (*black)[i])
                      : lab ? LabPixel((*red)[i], (*green)[i], (*blue)[i])
                            : RGBQuad{(*blue)[i], (*green)[i], (*red)[i], 0};
      pixel.reserved = alpha ? (*transparency)[i] : 0;
      std::memcpy(out + column * pixelBytes, &pixel, size_t(pixelBytes));
    }
  }
}

}  // namespace varnel

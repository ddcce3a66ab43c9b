#pragma once
// TPSDImage: a Photoshop document read as its composite picture and its layers.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap.h"
#include "icons/bigendianread.h"

namespace varnel {

// The values of the document header as read.
struct TPSDHeader {
  uint16_t Version = 1;  // 2 for a large document, whose section lengths take 8 bytes
  uint16_t Channels = 0;
  uint32_t Height = 0;
  uint32_t Width = 0;
  uint16_t Depth = 0;  // bits per channel sample
  uint16_t Mode = 0;   // 0 bitmap, 1 grey, 2 indexed, 3 RGB, 4 CMYK, 7 multichannel, 8 duotone,
                       // 9 Lab

  bool IsLarge() const { return Version == 2; }
  // Bytes of a section or channel length: 8 in large documents where the format says so.
  int LengthBytes() const { return IsLarge() ? 8 : 4; }
  // Bytes of one row count of packed data.
  int RowCountBytes() const { return IsLarge() ? 4 : 2; }
  // Bytes of one sample: 1, 2, or 4 for 32-bit floats.
  int SampleBytes() const { return Depth == 32 ? 4 : Depth == 16 ? 2 : 1; }
  uint64_t ReadLength(Stream& stream) const {
    uint64_t high = IsLarge() ? ReadU32BE(stream) : 0;
    return high << 32 | ReadU32BE(stream);
  }
};

struct TPSDChannelInfo {
  int16_t id = 0;  // 0 red or grey, 1 green, 2 blue, -1 transparency, others masks
  uint64_t length = 0;
};

// One layer record of a document.
struct TPSDLayer {
  int32_t Top = 0, Left = 0, Bottom = 0, Right = 0;
  std::vector<TPSDChannelInfo> Channels;
  std::array<char, 4> BlendMode{};
  uint8_t Opacity = 0, Clipping = 0, Flags = 0;
  std::vector<uint8_t> ExtraData;  // mask data, blending ranges and name, uninterpreted
  // One block per channel, in channel order: one byte per sample, rows of the layer's width.
  // A block the document could not have held stays empty.
  std::vector<std::vector<uint8_t>> ChannelData;

  int64_t LayerWidth() const { return int64_t(Right) - Left; }
  int64_t LayerHeight() const { return int64_t(Bottom) - Top; }
  bool IsEmpty() const { return LayerWidth() <= 0 || LayerHeight() <= 0; }
  // Whether the samples of every channel were read.
  bool HasAllChannelData() const {
    if (ChannelData.size() != Channels.size()) return false;
    for (const std::vector<uint8_t>& block : ChannelData)
      if (block.empty()) return false;
    return true;
  }
};

class TPSDImage : public TBitmap {
 public:
  TPSDHeader Header;
  std::array<uint8_t, 768> ColorTable{};  // 256 red, 256 green, 256 blue values
  // The palette index shown transparent in an indexed document (image resource 1047).
  std::optional<uint8_t> TransparencyIndex;
  std::vector<TPSDLayer> Layers;

  // Reads a document (all numbers big-endian): the bitmap becomes the composite picture, 32-bit
  // when the document holds a transparency channel or index. Raises EInvalidGraphic "Invalid
  // stream format" for a wrong file or layer signature, or a document with fewer channels than
  // its colour mode needs; EInvalidGraphic naming the mode and depth for a kind of document
  // that is not read; EReadError when the document ends before its data, or declares a picture
  // larger than its bytes can describe.
  void LoadFromStream(Stream& stream);
  // Layer index placed on a transparent picture of the document's size: 32-bit with four or
  // more channels or with two (grey and transparency), 24-bit with three; empty (width 0) for a
  // layer of fewer than two channels.
  void GetLayerBitmap(int index, TBitmap& bitmap) const;

 private:
  void ReadHeader(Stream& stream);
  void ReadColorModeData(Stream& stream);
  void ReadImageResources(Stream& stream);
  void ApplyTransparencyIndex();
  void ReadLayerSection(Stream& stream);
  void ReadComposite(Stream& stream);
  void ReadSingleChannel(Stream& stream, bool packed);
  void ReadColorPlanes(Stream& stream, bool packed);
  std::vector<uint64_t> ReadRowCounts(Stream& stream) const;
};

}  // namespace varnel

#pragma once
// GIF decoding and encoding through giflib: the logical screen, the colour maps, and each frame
// with its graphic control (delay, disposal, transparency) and comments, as plain records.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// The largest width or height a GIF screen or frame may declare.
constexpr int kMaxGifDimension = 16384;
// The most pixels a GIF may need in all: frames x screen width x screen height (the composed
// frames), and likewise the sum of the frames' own pixels.
constexpr int64_t kMaxGifPixels = int64_t(1) << 28;
// The largest GIF file the readers take in whole.
constexpr uint64_t kMaxGifFileBytes = uint64_t(256) << 20;

enum class GifDisposal { Unspecified = 0, Keep = 1, RestoreBackground = 2, RestorePrevious = 3 };

struct GifGraphicControl {
  int delay = 0;  // hundredths of a second
  GifDisposal disposal = GifDisposal::Unspecified;
  int transparentIndex = -1;  // -1: no transparency
};

struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<RGBQuad> colorMap;  // the local map; empty when the frame uses the global one
  std::optional<GifGraphicControl> control;
  std::vector<std::string> comments;
  // width x height palette indices, rows top-down in display order (interlacing undone).
  std::vector<uint8_t> pixels;

  bool Transparent() const { return control && control->transparentIndex >= 0; }
};

struct GifPicture {
  int width = 0;
  int height = 0;
  int backgroundIndex = 0;
  std::vector<RGBQuad> globalMap;  // empty when the file has none
  std::vector<GifFrame> frames;
  std::optional<int> loopCount;  // from the looping extension; 0 repeats for ever
  // The colour map a frame is drawn with: its own, else the global one.
  const std::vector<RGBQuad>& MapOf(const GifFrame& frame) const {
    return frame.colorMap.empty() ? globalMap : frame.colorMap;
  }
};

// Decodes a whole GIF. Sizes over kMaxGifDimension a side, or pixels over kMaxGifPixels, are
// refused before anything is allocated for them. A file damaged after its first complete frame
// gives the frames before the damage. Raises EInvalidGraphic ("GIF image is not valid: ...").
GifPicture DecodeGif(std::span<const uint8_t> bytes);

// Reads only the header and the first two image descriptors, skipping the compressed data:
// true when the GIF holds more than one frame. Damaged data gives false.
bool GifHasSeveralFrames(std::span<const uint8_t> bytes);

// Encodes frames, extensions and maps as the record holds them (the looping extension is written
// when loopCount is set). Colour maps are padded to a power of two. Raises EInvalidGraphic for
// frames whose pixels do not match their size, or a frame without any colour map.
std::vector<uint8_t> EncodeGif(const GifPicture& picture);

// One frame GIF of an 8-bit bitmap with its palette as the global map; transparentIndex, when
// given, is written in a graphic control extension.
GifPicture GifOfIndexedBitmap(const TBitmap& bitmap, std::optional<int> transparentIndex = {});

}  // namespace varnel

#include "icons/gifframes.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/canvas.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

constexpr RGBQuad kTransparent{0, 0, 0, 0};

RGBQuad* PixelAt(TBitmap& canvas, int x, int y) {
  return reinterpret_cast<RGBQuad*>(canvas.ScanLine(y)) + x;
}

bool HasAnyColorMap(const GifPicture& gif) {
  if (!gif.globalMap.empty()) return true;
  return std::any_of(gif.frames.begin(), gif.frames.end(),
                     [](const GifFrame& frame) { return !frame.colorMap.empty(); });
}

// What the canvas starts with: the screen's background colour, opaque, unless the first frame is
// transparent.
RGBQuad BackgroundOf(const GifPicture& gif, const GifFrame& frame) {
  if (frame.Transparent() || gif.backgroundIndex >= int(gif.globalMap.size())) return kTransparent;
  RGBQuad color = gif.globalMap[size_t(gif.backgroundIndex)];
  color.reserved = 255;
  return color;
}

// The part of a frame that lies on the screen.
TRect VisiblePart(const TBitmap& canvas, const GifFrame& frame) {
  return {std::clamp(frame.left, 0, canvas.Width()), std::clamp(frame.top, 0, canvas.Height()),
          std::clamp(frame.left + frame.width, 0, canvas.Width()),
          std::clamp(frame.top + frame.height, 0, canvas.Height())};
}

void FillArea(TBitmap& canvas, const TRect& area, RGBQuad color) {
  for (int y = area.top; y < area.bottom; ++y)
    std::fill(PixelAt(canvas, area.left, y), PixelAt(canvas, area.right, y), color);
}

void DrawFrame(TBitmap& canvas, const GifPicture& gif, const GifFrame& frame) {
  const std::vector<RGBQuad>& map = gif.MapOf(frame);
  int transparent = frame.Transparent() ? frame.control->transparentIndex : -1;
  TRect area = VisiblePart(canvas, frame);
  for (int y = area.top; y < area.bottom; ++y) {
    const uint8_t* source = frame.pixels.data() + size_t(y - frame.top) * size_t(frame.width);
    RGBQuad* target = PixelAt(canvas, 0, y);
    for (int x = area.left; x < area.right; ++x) {
      int index = source[x - frame.left];
      if (index == transparent) continue;
      RGBQuad color = index < int(map.size()) ? map[size_t(index)] : RGBQuad{};
      color.reserved = 255;
      target[x] = color;
    }
  }
}

TFrameItem ItemOf(const TBitmap& canvas, uint16_t delay) {
  TFrameItem item;
  item.delay = delay;
  item.color = TBitmap(canvas.Width(), canvas.Height(), PixelFormat::Bits24);
  item.mask = TBitmap(canvas.Width(), canvas.Height(), PixelFormat::Bits1);
  for (int y = 0; y < canvas.Height(); ++y) {
    const uint8_t* source = canvas.ScanLine(y);
    uint8_t* target = item.color.ScanLine(y);
    for (int x = 0; x < canvas.Width(); ++x) {
      std::memcpy(target + 3 * x, source + 4 * x, 3);
      if (source[4 * x + 3] == 0) SetMaskBit(item.mask, x, y);
    }
  }
  return item;
}

}  // namespace

TBitmap TFrameItem::ToRgba() const {
  TBitmap rgba = ConvertFormat(color, PixelFormat::Bits32);
  AlphaFromMask(rgba, mask);
  return rgba;
}

bool ComposeGifFrames(const GifPicture& gif, std::vector<TFrameItem>& list, size_t limit) {
  if (gif.frames.empty() || !HasAnyColorMap(gif)) return false;
  try {
    TBitmap canvas(gif.width, gif.height, PixelFormat::Bits32);
    FillArea(canvas, {0, 0, gif.width, gif.height}, BackgroundOf(gif, gif.frames.front()));
    for (const GifFrame& frame : gif.frames) {
      if (frame.width == 0 || frame.height == 0) continue;
      GifDisposal disposal = frame.control ? frame.control->disposal : GifDisposal::Unspecified;
      TBitmap before;
      if (disposal == GifDisposal::RestorePrevious) before = canvas;
      DrawFrame(canvas, gif, frame);
      list.push_back(
          ItemOf(canvas, frame.control ? uint16_t(frame.control->delay) : kDefaultGifFrameDelay));
      if (list.size() >= limit) break;
      if (disposal == GifDisposal::RestoreBackground)
        FillArea(canvas, VisiblePart(canvas, frame), kTransparent);
      else if (disposal == GifDisposal::RestorePrevious)
        canvas = std::move(before);
    }
  } catch (const Exception&) {
    return false;
  }
  return true;
}

bool IsAnimatedGif(const std::string& fileName) {
  try {
    return GifHasSeveralFrames(ReadWholeFile(fileName, kMaxGifFileBytes));
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace varnel

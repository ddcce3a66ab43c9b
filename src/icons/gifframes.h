#pragma once
// The frames of an animated GIF composed one by one into whole pictures, as a viewer shows them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/gifcodec.h"

namespace varnel {

// One composed frame: the picture of the whole GIF area, its 1-bit mask (set where nothing
// opaque has been drawn) and the delay in hundredths of a second.
class TFrameItem {
 public:
  TBitmap color;  // 24-bit
  TBitmap mask;   // 1-bit, set (white) where transparent
  uint16_t delay = 0;

  // The frame as a 32-bit bitmap whose alpha is 0 where the mask is set, 255 elsewhere.
  TBitmap ToRgba() const;
};

// The delay given to frames without a graphic control extension.
constexpr uint16_t kDefaultGifFrameDelay = 30;

// Composes every frame of gif with a non-empty size into list, in frame order. The canvas starts
// as the background colour of the screen, or transparent when the first frame has transparency;
// each frame is drawn with its own map or the global one, skipping its transparent pixels; then
// its disposal clears its area to transparent (as viewers restore "to the background") or
// restores the canvas as it was before the frame. At most limit items are made. False for a GIF
// without frames or colour maps.
bool ComposeGifFrames(const GifPicture& gif, std::vector<TFrameItem>& list,
                      size_t limit = SIZE_MAX);

// True when the GIF file holds more than one frame; damaged or unreadable files give false.
bool IsAnimatedGif(const std::string& fileName);

}  // namespace varnel

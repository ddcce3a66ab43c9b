#pragma once
// TIconLayer: one picture layer of an icon project image, with its transparency, shadow,
// offsets and name, and its record in the project file.

#include <cstdint>
#include <string>

#include "base/stream.h"
#include "graphics/bitmap.h"

namespace varnel {

class TIconLayer {
 public:
  // 32-bit with alpha.
  TBitmap Picture;
  // 0 opaque ... 255 invisible: every alpha value is scaled by (255 - Transparency) / 255.
  uint8_t Transparency = 0;
  // 0: no shadow; otherwise the shadow's opacity.
  uint8_t ShadowSize = 0;
  // Shadow offset in hundredths of a pixel.
  int32_t ShadowX = 0;
  int32_t ShadowY = 0;
  uint8_t ShadowSoftness = 0;
  // Position of the picture in the image, in pixels.
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  std::string Name;
  // Kept for the program that made the file; not interpreted.
  int32_t LayerTag = 0;
  uint8_t Hidden = 0;
  // In memory only: the layer changed since the image was composed.
  bool Modified = false;

  // The layer record. A record whose marker is not 0 ends after the marker (the layer stays
  // empty). The pixel count is checked against the bytes the stream still holds before anything
  // is allocated; a short stream raises EReadError.
  void LoadFromStream(Stream& stream);
  void SaveToStream(Stream& stream) const;

  // The layer as it is laid on an image of width x height: shifted by its offsets, its alpha
  // scaled by its transparency, over its shadow when it has one.
  TBitmap Prepared(int width, int height) const;

  friend bool operator==(const TIconLayer& a, const TIconLayer& b);
};

}  // namespace varnel

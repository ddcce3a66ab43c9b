#pragma once
// A key of what the image-by-image comparison of two icons looks at. Many icons share a search
// hash (every black glyph on a clear ground renders to the same black colour image), and
// telling them apart by comparing them means decoding both, again for every pair. Equal icons
// whose images take the same comparison paths have equal keys, so an icon needs comparing only
// with those whose key equals its own, or whose images take other paths.

#include <cstdint>

#include "icons/advancedicon.h"

namespace varnel {

struct IconPixelKey {
  // The comparison path of each image, two bits each; kUnknownPaths for icons of too many
  // images to hold, whose paths are never taken as equal.
  uint64_t paths = 0;
  // A hash of what those paths compare: for each image its 32-bit pixels with clear pixels
  // counted as 0, or its colour image and mask as 24-bit bitmaps.
  uint64_t pixels = 0;

  static constexpr uint64_t kUnknownPaths = ~0ull;
  bool PathsKnown() const { return paths != kUnknownPaths; }
};

// The key of an icon; raises Exception when an image cannot be rendered.
IconPixelKey PixelKeyOf(const TAdvancedIcon& icon);

}  // namespace varnel

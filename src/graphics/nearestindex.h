#pragma once
// The nearest palette entry of each colour drawn onto an indexed bitmap, remembered per colour,
// since pictures repeat their colours far more often than they introduce new ones.

#include <cstdint>
#include <unordered_map>

#include "graphics/bitmap.h"

namespace varnel {

class NearestColorCache {
 public:
  // dest: the bitmap whose palette is searched; it must outlive the cache.
  explicit NearestColorCache(const TBitmap& dest) : dest_(dest) {}

  uint8_t IndexOf(TColor color) {
    if (color == lastColor_) return lastIndex_;
    auto [it, inserted] = cache_.try_emplace(color, 0);
    if (inserted) it->second = uint8_t(dest_.NearestPaletteIndex(color));
    lastColor_ = color;
    lastIndex_ = it->second;
    return lastIndex_;
  }
  uint8_t IndexOf(const RGBQuad& quad) { return IndexOf(quad.ToColor()); }

 private:
  const TBitmap& dest_;
  std::unordered_map<TColor, uint8_t> cache_;
  TColor lastColor_ = 0xFFFFFFFF;
  uint8_t lastIndex_ = 0;
};

}  // namespace varnel

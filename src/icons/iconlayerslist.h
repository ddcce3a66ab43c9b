#pragma once
// TIconLayersList: the picture layers of one icon project image, topmost first.

#include <vector>

#include "base/stream.h"
#include "graphics/bitmap.h"
#include "icons/iconlayer.h"

namespace varnel {

class TIconLayersList {
 public:
  static constexpr uint32_t kMaxLayers = 65535;

  std::vector<TIconLayer> Layers;

  // A layer count, then that many layer records. A count over kMaxLayers or larger than the
  // bytes left could hold raises EReadError before anything is allocated.
  void LoadFromStream(Stream& stream);
  void SaveToStream(Stream& stream) const;

  bool AnyModified() const;
  // The layers composed into a 32-bit picture of width x height: from the bottom layer up,
  // hidden ones left out; the bottom one is copied and each one above blended over it.
  TBitmap Compose(int width, int height) const;

  friend bool operator==(const TIconLayersList&, const TIconLayersList&) = default;
};

}  // namespace varnel

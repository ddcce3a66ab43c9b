#include "icons/iconlayerslist.h"

#include <algorithm>

#include "base/errors.h"
#include "graphics/canvas.h"

namespace varnel {

void TIconLayersList::LoadFromStream(Stream& stream) {
  uint32_t count = stream.ReadU32();
  if (count > kMaxLayers || count > stream.Remaining()) throw EReadError();
  Layers.clear();
  for (uint32_t i = 0; i < count; ++i) Layers.emplace_back().LoadFromStream(stream);
}

void TIconLayersList::SaveToStream(Stream& stream) const {
  stream.WriteU32(uint32_t(Layers.size()));
  for (const TIconLayer& layer : Layers) layer.SaveToStream(stream);
}

bool TIconLayersList::AnyModified() const {
  return std::any_of(Layers.begin(), Layers.end(),
                     [](const TIconLayer& layer) { return layer.Modified; });
}

TBitmap TIconLayersList::Compose(int width, int height) const {
  TBitmap canvas(width, height, PixelFormat::Bits32);
  bool first = true;
  for (auto layer = Layers.rbegin(); layer != Layers.rend(); ++layer) {
    if (layer->Hidden) continue;
    TBitmap prepared = layer->Prepared(width, height);
    if (first)
      Draw(canvas, 0, 0, prepared);
    else
      DrawBlended(canvas, 0, 0, prepared);
    first = false;
  }
  return canvas;
}

}  // namespace varnel

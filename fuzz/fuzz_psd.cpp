// seeds: psd
// Reads arbitrary bytes as a Photoshop document and takes every picture it gives.

#include <cstdint>

#include "base/errors.h"
#include "icons/psdfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  TPSDImage document;
  try {
    SpanStream stream(std::span(data, size));
    document.LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
    return 0;
  } catch (const EStreamError&) {
    return 0;
  }
  for (size_t i = 0; i < document.Layers.size(); ++i) {
    TBitmap layer;
    document.GetLayerBitmap(int(i), layer);
  }
  PsdPictures(document);
  return 0;
}

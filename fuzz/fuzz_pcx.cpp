// seeds: pcx
// Reads arbitrary bytes as a PCX picture.

#include <cstdint>

#include "base/errors.h"
#include "icons/pcximage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  try {
    SpanStream stream(std::span(data, size));
    TPCXImage picture;
    picture.LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
  } catch (const EStreamError&) {
  }
  return 0;
}

// seeds: wbmp
// Reads arbitrary bytes as a WAP bitmap.

#include <cstdint>

#include "base/errors.h"
#include "icons/wbmpimage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  try {
    SpanStream stream(std::span(data, size));
    TWapBitmap picture;
    picture.LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
  } catch (const EStreamError&) {
  }
  return 0;
}

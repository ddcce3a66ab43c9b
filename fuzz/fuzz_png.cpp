// seeds: png
// Decodes arbitrary bytes as PNG, in the natural format and as RGBA.

#include <cstdint>
#include <span>

#include "base/errors.h"
#include "graphics/pngcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  std::span<const uint8_t> bytes(data, size);
  ReadPngHeader(bytes);
  try {
    DecodePng(bytes);
  } catch (const EInvalidGraphic&) {
  }
  try {
    DecodePngRgba(bytes);
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}

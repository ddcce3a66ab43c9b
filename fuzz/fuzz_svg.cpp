// seeds: built/svg
// Draws arbitrary bytes as an SVG drawing (plain or gzip-compressed) with the built-in renderer:
// the size read before drawing must refuse what is too large, and a hostile document must fail
// cleanly. Drawings are brought to a small size so that each run stays quick.

#include <cstdint>
#include <span>

#include "base/errors.h"
#include "graphics/vectordrawing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  std::span<const uint8_t> bytes(data, size);
  try {
    auto own = DrawingSizeOf(bytes, DrawingFormat::Svg);
    if (own && own->width <= 64 && own->height <= 64)
      RenderDrawing(bytes, DrawingFormat::Svg);
    else
      RenderDrawing(bytes, DrawingFormat::Svg, 32, 32);
  } catch (const Exception&) {
  }
  return 0;
}

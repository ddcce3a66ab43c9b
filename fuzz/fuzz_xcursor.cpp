// seeds: built/xcursor
// Reads arbitrary bytes as an X cursor file and draws every image it gives.

#include <cstdint>

#include "base/errors.h"
#include "icons/xcursorfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  try {
    for (const XCursorImage& image : ReadXCursor(std::span(data, size)))
      if (image.picture.Width() > 0 && image.picture.Height() > 0)
        (void)image.picture.GetPixel(image.picture.Width() - 1, image.picture.Height() - 1);
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}

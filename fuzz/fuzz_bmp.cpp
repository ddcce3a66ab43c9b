// seeds: bmp
// Reads arbitrary bytes as a BMP file; what reads is written and read back unchanged.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/errors.h"
#include "graphics/bmpcodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  TBitmap bitmap;
  try {
    bitmap = LoadBmp(std::span(data, size));
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  TBitmap reread = LoadBmp(SaveBmp(bitmap));
  // An indexed bitmap whose palette was cut to nothing is written with a black palette.
  if (bitmap.BitsPerPixel() <= 8 && bitmap.Palette().empty()) reread.SetPalette({});
  if (!(reread == bitmap)) std::abort();
  return 0;
}

// seeds: bmp
// Reads arbitrary bytes as a 32-bit BMP with alpha; the stream position stays inside the input,
// and what reads is written and read back unchanged.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/errors.h"
#include "icons/bitmapfix32.h"
#include "icons/maskbits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  SpanStream stream(std::span(data, size));
  TBitmapFix32 bitmap;
  try {
    bitmap.LoadFromStream(stream);
  } catch (const Exception&) {
    return 0;
  }
  if (stream.Position() < 0 || stream.Position() > int64_t(size)) std::abort();
  if (bitmap.Format() == PixelFormat::Bits32 && !bitmap.Empty() && AllAlphaZero(bitmap))
    std::abort();  // an all-transparent 32-bit picture reads as opaque
  MemoryStream saved;
  bitmap.SaveToStream(saved);
  saved.SetPosition(0);
  TBitmapFix32 reread;
  reread.LoadFromStream(saved);
  // An indexed bitmap whose palette was cut to nothing is written with a black palette.
  if (bitmap.BitsPerPixel() <= 8 && bitmap.Palette().empty()) reread.SetPalette({});
  if (!(static_cast<const TBitmap&>(reread) == static_cast<const TBitmap&>(bitmap))) std::abort();
  return 0;
}

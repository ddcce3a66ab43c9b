// seeds: xpm
// Reads arbitrary bytes as an XPM picture; what reads is written and read back unchanged.

#include <cstdint>
#include <cstdlib>

#include "base/errors.h"
#include "icons/xpmimage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  TXPMImage picture;
  try {
    SpanStream stream(std::span(data, size));
    picture.LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  // Written pictures hold only opaque pixels and transparent black.
  TXPMImage opaque;
  opaque.SetFromBitmaps(picture, nullptr, 1);
  MemoryStream written;
  opaque.SaveToStream(written);
  written.SetPosition(0);
  TXPMImage reread;
  reread.LoadFromStream(written);
  if (!(static_cast<const TBitmap&>(reread) == static_cast<const TBitmap&>(opaque))) std::abort();
  return 0;
}

// seeds: xbm
// Reads arbitrary bytes as an XBM picture; what reads is written and read back unchanged.

#include <cstdint>
#include <cstdlib>

#include "base/errors.h"
#include "icons/xbmimage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  TXBMImage picture;
  try {
    picture.LoadFromBytes(std::span(data, size));
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  std::string text = picture.SourceText(picture, "fuzz_bits");
  TXBMImage reread;
  reread.LoadFromBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (reread.GetIndex(x, y) != picture.GetIndex(x, y)) std::abort();
  // A hot spot is written only when both of its coordinates are there.
  bool hotSpot = picture.HotSpotX >= 0 && picture.HotSpotY >= 0;
  if (reread.HotSpotX != (hotSpot ? picture.HotSpotX : -1) ||
      reread.HotSpotY != (hotSpot ? picture.HotSpotY : -1))
    std::abort();
  return 0;
}

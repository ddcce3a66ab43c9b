// seeds: gif
// GIF decoding, frame composition and the import of frames as icon images.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "graphics/gifcodec.h"
#include "icons/gifframes.h"
#include "icons/gifimport.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  GifHasSeveralFrames(bytes);
  try {
    GifPicture gif = DecodeGif(bytes);
    std::vector<TFrameItem> items;
    ComposeGifFrames(gif, items);
    TAdvancedIcon icon;
    AddGifImages(icon, bytes);
  } catch (const Exception&) {
  }
  return 0;
}

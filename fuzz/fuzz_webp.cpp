// seeds: built/webp
// WebP decoding: still pictures and animations composed frame by frame.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "graphics/webpcodec.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  IsWebpHeader(bytes);
  IsAnimatedWebp(bytes);
  try {
    DecodeWebp(bytes);
  } catch (const Exception&) {
  }
  try {
    DecodeWebpFrames(bytes);
  } catch (const Exception&) {
  }
  return 0;
}

// seeds: jpeg
// JPEG decoding.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "graphics/jpegcodec.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    DecodeJpeg({data, size});
  } catch (const Exception&) {
  }
  return 0;
}

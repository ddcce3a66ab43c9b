// The status record read back from whatever the status file holds.

#include <cstddef>
#include <cstdint>
#include <span>

#include "search/loaderstatus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto status = varnel::DecodeLoaderStatus(std::span(data, size));
  if (status) {
    auto bytes = varnel::EncodeLoaderStatus(*status);
    if (varnel::DecodeLoaderStatus(bytes) != status) __builtin_trap();
    for (size_t i = 0; i < varnel::kLoaderStatusSize; ++i)
      if (bytes[i] != data[i]) __builtin_trap();
  }
  return 0;
}

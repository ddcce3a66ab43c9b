// seeds: built/datauri
// Reads arbitrary bytes as a data-URI text file: lines, "%" escapes (a decoded "%" decoding
// again), the header test and the block-wise base64, then the PNG the text may hold.

#include <cstdint>
#include <span>

#include "base/errors.h"
#include "icons/datauri.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  varnel::TAdvancedIcon icon;
  try {
    varnel::LoadDataUri(std::span<const uint8_t>(data, size), 96, icon);
  } catch (const varnel::Exception&) {
  }
  return 0;
}

// seeds:
// Imports arbitrary bytes as a 16-bit resource file whose first resource is a bitmap (the bytes
// follow its FF 02 00 start), the validated copy and the image built from it.

#include <cstdint>
#include <span>
#include <vector>

#include "base/errors.h"
#include "resources/resimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  std::vector<uint8_t> bytes = {0xFF, 0x02, 0x00};
  bytes.insert(bytes.end(), data, data + size);
  TIconList icons;
  try {
    ImportResourceBytes(bytes, icons);
  } catch (const Exception&) {
  }
  return 0;
}

// seeds: icns
// The resource-fork scan: inputs as they are (so the scan starts at 256), behind the AppleDouble
// magic (scan from 338), and behind a resource header so that short inputs reach the blocks.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/errors.h"
#include "icons/macicon.h"

namespace {

void Scan(const std::vector<uint8_t>& bytes) {
  try {
    varnel::ReadMacIconBytes(bytes);
  } catch (const varnel::Exception&) {
  }
}

std::vector<uint8_t> Behind(size_t headerSize, bool appleDouble, const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(headerSize, 0);
  if (appleDouble) bytes[1] = 0x05, bytes[2] = 0x16, bytes[3] = 0x07;
  bytes.insert(bytes.end(), data, data + size);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  Scan(std::vector<uint8_t>(data, data + size));
  Scan(Behind(256, false, data, size));
  Scan(Behind(338, true, data, size));
  return 0;
}

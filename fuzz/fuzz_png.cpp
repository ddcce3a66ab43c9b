// seeds: png
// Decodes arbitrary bytes as PNG, in the natural format and as RGBA: once as given and once
// with every chunk's CRC made right, so that mutations reach the decoder past the CRC checks.

#include <zlib.h>

#include <cstdint>
#include <span>
#include <vector>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/pngcodec.h"

namespace {

void Decode(std::span<const uint8_t> bytes) {
  using namespace varnel;
  ReadPngHeader(bytes);
  HasCompletePngChunks(bytes);
  try {
    DecodePng(bytes);
  } catch (const EInvalidGraphic&) {
  }
  try {
    DecodePngRgba(bytes);
  } catch (const EInvalidGraphic&) {
  }
}

std::vector<uint8_t> WithCorrectCrcs(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> fixed(bytes.begin(), bytes.end());
  size_t position = 8;
  while (fixed.size() >= 12 && position <= fixed.size() - 12) {
    uint32_t length = varnel::ReadU32BE(&fixed[position]);
    if (length > fixed.size() - 12 - position) break;
    uint32_t crc = uint32_t(crc32(0, &fixed[position + 4], 4 + length));
    varnel::WriteU32BE(&fixed[position + 8 + length], crc);
    position += 12 + size_t(length);
  }
  return fixed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  Decode(bytes);
  Decode(WithCorrectCrcs(bytes));
  return 0;
}

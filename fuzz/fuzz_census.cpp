// seeds: ico built/census
// Takes the module census of arbitrary bytes. The first byte chooses how they are presented:
// as they are, as the resource table behind a valid NE header, or as the resource directory
// behind the headers of a resource-only PE image, so that the directory walks are reached
// without module seeds.

#include <cstdint>
#include <span>
#include <vector>

#include "base/byteorder.h"
#include "resources/iclwriter32.h"
#include "resources/modulecensus.h"

namespace {

using namespace varnel;

constexpr size_t kPEHeadersSize = 0x200;

std::vector<uint8_t> BehindNEHeader(std::span<const uint8_t> table) {
  std::vector<uint8_t> file(192, 0);
  file[0] = 'M';
  file[1] = 'Z';
  WriteU16LE(&file[60], 128);
  file[128] = 'N';
  file[129] = 'E';
  WriteU16LE(&file[164], 64);
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

// The headers of an empty library; its resource directory starts where they end.
const std::vector<uint8_t>& PEHeaders() {
  static const std::vector<uint8_t> headers = [] {
    std::vector<uint8_t> image = BuildIcl32Image(TIconList());
    image.resize(kPEHeadersSize);
    return image;
  }();
  return headers;
}

void TakeCensus(std::span<const uint8_t> bytes) {
  bool is32Bit = false;
  IsModuleBytes(bytes, is32Bit);
  TakeModuleCensus(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  if (bytes.empty()) return 0;
  std::span<const uint8_t> rest = bytes.subspan(1);
  switch (bytes[0] % 3) {
    case 0:
      TakeCensus(rest);
      break;
    case 1:
      TakeCensus(BehindNEHeader(rest));
      break;
    default: {
      std::vector<uint8_t> image = PEHeaders();
      image.insert(image.end(), rest.begin(), rest.end());
      TakeCensus(image);
    }
  }
  return 0;
}

// seeds: icns
// The ICNS reader on whole families, and each input also as the data of one element whose type
// the first byte picks, so that mutations reach the plane decoder and the JPEG 2000 codec
// directly; then the import and the ICNS writer over what was read.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/byteorder.h"
#include "base/errors.h"
#include "icons/icnsreader.h"
#include "icons/icnswriter.h"
#include "icons/macicon.h"

namespace {

constexpr std::string_view kTypes[] = {"it32", "il32", "is32", "ic04", "icsb", "icp4",
                                       "ic07", "ic08", "icl8", "ics4", "ICN#", "l8mk"};

std::vector<uint8_t> AsElement(const uint8_t* data, size_t size) {
  std::string_view type = kTypes[data[0] % std::size(kTypes)];
  std::vector<uint8_t> family(16);
  std::copy_n("icns", 4, family.begin());
  varnel::WriteU32BE(&family[4], uint32_t(size + 15));
  std::copy(type.begin(), type.end(), family.begin() + 8);
  varnel::WriteU32BE(&family[12], uint32_t(size + 7));
  family.insert(family.end(), data + 1, data + size);
  return family;
}

void Read(std::span<const uint8_t> bytes, bool write) {
  try {
    varnel::TAdvancedIcon icon;
    varnel::ImportMacIconBytes(bytes, icon);
    if (write && icon.Images().Count() > 0) varnel::EncodeIcns(icon);
  } catch (const varnel::Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > (1 << 20)) return 0;
  Read({data, size}, false);
  std::vector<uint8_t> element = AsElement(data, size);
  Read(element, size < 4096);
  return 0;
}

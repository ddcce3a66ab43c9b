// seeds: ani
// Icons found in the chunks of RIFF files.

#include <cstddef>
#include <cstdint>

#include "icons/advancedicon.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  std::vector<std::unique_ptr<TAdvancedIcon>> list;
  TAdvancedIcon icon;
  icon.ExtractFromRiffData(bytes, 0, &list);
  icon.ExtractFromRiffData(bytes, 2, nullptr);
  return 0;
}

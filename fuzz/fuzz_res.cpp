// seeds: built/res
// Reads arbitrary bytes as a 32-bit resource file, sorts its records and imports its icons
// (the record walk and the hand walk). The bytes follow the empty entry that opens such files,
// so that the reader is reached without seed files.

#include <cstdint>
#include <span>
#include <vector>

#include "base/errors.h"
#include "resources/resfile.h"
#include "resources/resimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varnel;
  std::vector<uint8_t> bytes = {0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
  bytes.resize(32, 0);
  bytes.insert(bytes.end(), data, data + size);
  TResModule module;
  module.LoadFromBytes(bytes);
  module.SortResources();
  TIconList icons;
  try {
    ImportResourceBytes(bytes, icons);
  } catch (const Exception&) {
  }
  return 0;
}

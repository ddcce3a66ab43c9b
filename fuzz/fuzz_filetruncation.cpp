// seeds: icns built/pe built/ne
// The truncation check of modules and Mac icon families: the header walk over any bytes.

#include <cstddef>
#include <cstdint>

#include "collection/filetruncation.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  for (TFileKind kind : {TFileKind::fkModule, TFileKind::fkMacIcon})
    if (auto truncation = FindTruncation(kind, bytes))
      if (truncation->declared <= truncation->present) __builtin_trap();
  return 0;
}

// seeds: ico bmp png jpeg gif icns psd pcx tga rar zip xpm
// Recognising a file's kind from its bytes.

#include <cstddef>
#include <cstdint>

#include "collection/filekind.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DetectFileKindOfBytes({data, size});
  return 0;
}

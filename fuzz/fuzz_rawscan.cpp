// seeds: ico png bmp built/modules
// Scans arbitrary bytes for icon images and PNG pictures as a module without icon resources is
// scanned, merging what it finds.

#include <cstdint>
#include <span>

#include "resources/imagescan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  varnel::TIconList icons;
  varnel::ScanBytesForImages(std::span<const uint8_t>(data, size), icons);
  return 0;
}

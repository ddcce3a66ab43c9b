#pragma once
// The icon resources of a classic Mac resource fork (a ".rsrc" file or an AppleDouble file),
// found by scanning its data blocks and recognising icon resources by their length.

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"
#include "icons/icnsreader.h"

namespace varnel {

// The scan starts here, or at kAppleDoubleScanStart after the AppleDouble magic 00 05 16 07.
constexpr size_t kResourceForkScanStart = 256;
constexpr size_t kAppleDoubleScanStart = 338;
// Block lengths above this are not taken as lengths: the scan moves on by 4 bytes.
constexpr uint32_t kMaxResourceBlockLength = 16777215;

struct ResourceForkIcons {
  // The pictures of an icon family embedded in the fork (the scan ends there).
  std::vector<MacIconPicture> family;
  // The pictures of the fixed-size icon resources, in the order found; 1-bit ones with their
  // own mask.
  std::vector<MacIconPicture> resources;
  // The masks of the 1-bit resources, for the 4- and 8-bit pictures of the same size.
  std::vector<TBitmap> bitMasks;
};

// Scans a whole file as a resource fork. A file without icon blocks gives nothing.
ResourceForkIcons ScanResourceFork(std::span<const uint8_t> file);

}  // namespace varnel

#pragma once
// The raw scan: icon images and PNG pictures found anywhere in a file's bytes, for modules whose
// resources gave no icon.

#include <cstdint>
#include <span>
#include <string>

#include "resources/iconlist.h"

namespace varnel {

// Appends one icon per image found (default names); then merges neighbours that look like the
// sizes of one icon. The last 500 bytes of the file are never examined.
void ScanForImages(const std::string& fileName, TIconList& icons);
void ScanBytesForImages(std::span<const uint8_t> bytes, TIconList& icons);

// Walks back over the icons from firstScanned on and moves a one-image icon into its successor
// when the successor's first image is smaller at the same depth, or larger at a greater depth.
// When anything merged, the scanned icons are renamed "Icon <position>".
void MergeScannedImages(TIconList& icons, int firstScanned);

}  // namespace varnel

#pragma once
// Writing an icon as a Mac icon family (ICNS) of PNG elements.

#include <cstdint>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

// The family: a table of contents, then one PNG element for each of the sizes 16, 32, 64, 128,
// 256, 512 and 1024 up to the icon's largest image (icp4, icp5, icp6, ic07, ic08, ic09, ic10),
// each from the icon's best image for that size, resampled with the Lanczos filter when the
// icon has no image of exactly that size; and the double-density elements ic11-ic14 (32, 64,
// 256 and 512 pixels) for the sizes the icon has exactly. An icon without images raises
// Exception("No images in icon").
std::vector<uint8_t> EncodeIcns(const TAdvancedIcon& icon);

// Writes EncodeIcns's family to path, replacing the file only when all is written.
void SaveIconAsIcns(const TAdvancedIcon& icon, const std::string& path);

}  // namespace varnel

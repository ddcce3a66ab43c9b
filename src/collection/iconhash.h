#pragma once
// Cheap 32-bit hashes of an icon's rendered pixels, used to pick candidates before the
// image-by-image comparison of icons.

#include <cstdint>

#include "icons/advancedicon.h"

namespace varnel {

// Per image with data: width + 32 * height + CRC of the colour pixels. Never 0.
uint32_t SearchHash(const TAdvancedIcon& icon);
// Per image with data: CRC of the colour pixels + CRC of the mask. Never 0.
uint32_t CompareHash(const TAdvancedIcon& icon);

}  // namespace varnel

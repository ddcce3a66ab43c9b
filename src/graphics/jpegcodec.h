#pragma once
// JPEG decoding through libjpeg.

#include <cstdint>
#include <span>

#include "graphics/bitmap.h"

namespace varnel {

// Decodes a greyscale or colour JPEG to a 24-bit bitmap. CMYK and damaged files, and pictures
// larger than the decoder's limit, raise EInvalidGraphic("JPEG image is not valid").
TBitmap DecodeJpeg(std::span<const uint8_t> jpeg);

}  // namespace varnel

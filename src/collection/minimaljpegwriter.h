#pragma once
// A small JPEG encoder over libjpeg for exported pictures, until a shared picture writer exists.

#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// Encodes a bitmap (any format; converted to 24 bits first) as a baseline JPEG of the given
// quality (1 to 100). Raises EInvalidGraphic for an empty bitmap or when the encoder fails.
std::vector<uint8_t> EncodeJpegMinimal(const TBitmap& bitmap, int quality);

}  // namespace varnel

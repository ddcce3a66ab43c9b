#pragma once
// JPEG encoding through libjpeg.

#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// Encodes a bitmap of any format (its colours, alpha ignored) as a baseline colour JPEG of the
// given quality (1..100). An empty bitmap or an encoder failure raises EInvalidGraphic.
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality);

}  // namespace varnel

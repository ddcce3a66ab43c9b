#pragma once
// The colour conversions of Photoshop documents: CMYK and Lab samples to RGB pixels.

#include <cstdint>

#include "graphics/color.h"

namespace varnel {

// Stored CMYK samples (255 = no ink, as documents keep them) to an opaque pixel.
RGBQuad CmykPixel(uint8_t c, uint8_t m, uint8_t y, uint8_t k);
// The same for 16-bit samples.
RGBQuad CmykPixel16(uint16_t c, uint16_t m, uint16_t y, uint16_t k);
// Stored Lab samples (L 0..255 for 0..100, a and b offset by 128) to an opaque pixel.
RGBQuad LabPixel(uint8_t l, uint8_t a, uint8_t b);

}  // namespace varnel

#pragma once
// The colour conversions of Photoshop documents: samples of every depth to 16-bit values, and
// CMYK and Lab samples to RGB pixels.

#include <cstdint>

#include "graphics/color.h"

namespace varnel {

// One stored sample of 1, 2 or 4 bytes (big-endian; 4 bytes a float, clamped to 0.0-1.0) as a
// value of 0..65535.
uint16_t PsdSample(const uint8_t* sample, int sampleBytes);

// Stored CMYK samples (255 = no ink, as documents keep them) to an opaque pixel.
RGBQuad CmykPixel(uint8_t c, uint8_t m, uint8_t y, uint8_t k);
// The same for 16-bit samples.
RGBQuad CmykPixel16(uint16_t c, uint16_t m, uint16_t y, uint16_t k);
// Stored Lab samples (L 0..65535 for 0..100, a and b 0..65535 for -128..127, 8-bit samples
// widened by 257) to an opaque sRGB pixel: the colour is taken with the D50 white, adapted to
// D65 and given the sRGB transfer curve.
RGBQuad LabPixel16(uint16_t l, uint16_t a, uint16_t b);
inline RGBQuad LabPixel(uint8_t l, uint8_t a, uint8_t b) {
  return LabPixel16(uint16_t(l * 257), uint16_t(a * 257), uint16_t(b * 257));
}

}  // namespace varnel

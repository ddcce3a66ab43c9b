#pragma once
// A PNG file as the picture and mask the image builders take.

#include <cstdint>
#include <span>
#include <string>

#include "graphics/bitmap.h"

namespace varnel {

struct TColorAndMask {
  TBitmap color;  // the PNG in its natural format
  TBitmap mask;   // 1 bit per pixel, set (white) where the alpha is below the threshold
};

// Decodes a PNG; raises EInvalidGraphic for damaged data.
TColorAndMask LoadPngPicture(std::span<const uint8_t> png, int alphaThreshold);

// The PNG file at fileName (read within the decoder's limits) into a colour bitmap and a mask.
void LoadPngFile(const std::string& fileName, int alphaThreshold, TBitmap& color, TBitmap& mask);

// A 1-bit mask of the pixels of a 32-bit bitmap whose alpha is below threshold.
TBitmap MaskFromAlphaBelow(const TBitmap& rgba, int threshold);

}  // namespace varnel

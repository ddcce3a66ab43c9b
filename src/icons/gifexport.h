#pragma once
// Single pictures and icon images written as GIF.

#include <string>

#include "graphics/bitmap.h"
#include "graphics/gifcodec.h"
#include "icons/subicon.h"

namespace varnel {

// An 8-bit copy of any bitmap for a GIF: indexed bitmaps keep their palette, others are brought
// to at most limit colours by the palette reduction.
TBitmap IndexedForGif(const TBitmap& bitmap, int limit);

// Writes a bitmap as a one-frame GIF; the file is replaced only when complete.
void SaveBitmapAsGif(const TBitmap& bitmap, const std::string& fileName);

// One icon image as a one-frame GIF: pixels whose alpha is below alphaThreshold take a
// transparent entry of their own, the others at most 255 colours.
GifPicture ImageToGif(const TSubIcon& image, int alphaThreshold);

}  // namespace varnel

#pragma once
// The mask of a picture that has none of its own, from two drawings of it: one on black, one on
// white.

#include "graphics/bitmap.h"

namespace varnel {

// mask becomes a 1-bit bitmap of the drawings' size, all opaque, with a bit set (transparent)
// wherever the blue values of the two drawings differ, or both their green and their red values
// differ; such pixels of onBlack become black, so that onBlack is the colour bitmap of the
// image. Both drawings are 24-bit or 32-bit of the same size; EInvalidGraphic otherwise.
void MaskFromBackgrounds(TBitmap& onBlack, const TBitmap& onWhite, TBitmap& mask);

}  // namespace varnel

#pragma once
// Masks of pictures that have none of their own, found by drawing them on black and on white.

#include "graphics/bitmap.h"

namespace varnel {

// A 24-bit copy of picture composed on background: a 32-bit picture blends by its alpha, any
// other is copied (its pixels all opaque).
TBitmap DrawnOnBackground(const TBitmap& picture, TColor background);

// The mask of the difference of two drawings of one picture: a 1-bit bitmap of onBlack's size
// in which a pixel is set (transparent) when the blue values of the drawings differ, or both
// their green and their red values differ. Transparent pixels of onBlack become black, so that
// onBlack is the colour bitmap of the image.
TBitmap MaskFromBackgrounds(TBitmap& onBlack, const TBitmap& onWhite);

// The two drawings as one 32-bit picture: pixels equal in both are opaque, the others fully
// transparent black.
TBitmap AlphaFromBackgrounds(const TBitmap& onBlack, const TBitmap& onWhite);

}  // namespace varnel

#pragma once
// Colourising: every colour replaced by the colour of the same brightness on the gradient
// black -> colour -> white.

#include "graphics/bitmap.h"
#include "icons/advancedicon.h"

namespace varnel {

// The gradient's colour for a brightness of r + g + b (0..765): black at 0, color at 382,
// white at 765, each channel interpolated linearly between its neighbouring stops.
TColor ColorizedColor(TColor original, TColor color);

// Palette entries of 8-bit bitmaps, pixels of 24- and 32-bit ones (alpha kept); other depths
// go through a 24-bit copy that is drawn back.
void ColorizeBitmap(TBitmap& bitmap, TColor color);

// The image rebuilt from its colourised colour bitmap and its mask.
void ColorizeImage(TSubIcon& image, TColor color);
void ColorizeIcon(TAdvancedIcon& icon, TColor color);

}  // namespace varnel

#pragma once
// A box-splitting colour quantiser: the palette for a picture with more colours than a palette
// can hold, and the mapping of the picture onto a palette.

#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// At most colors entries chosen for the pixels of picture (any format; alpha ignored). The
// pixels fall into a histogram of 32 levels per channel; the box of cells with the largest
// spread, weighted by its pixel count, is split at the median of its longest side until there
// are colors boxes or no box can be split. Each box gives the mean colour of its pixels.
std::vector<RGBQuad> QuantizeColors(const TBitmap& picture, int colors);

// An 8-bit bitmap of picture's size with palette, each pixel taking its nearest entry.
TBitmap MapToPalette(const TBitmap& picture, const std::vector<RGBQuad>& palette);

}  // namespace varnel

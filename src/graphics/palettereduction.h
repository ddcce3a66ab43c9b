#pragma once
// Bringing a picture of many colours down to one 8-bit palette of at most 255 or 256 entries,
// the reduction every writer of indexed pictures (GIF, 8-bit icon images) uses.

#include "graphics/bitmap.h"

namespace varnel {

// An 8-bit bitmap of picture's size whose palette holds at most limit entries, black at index 0
// and white at 1. The counted pixels (those of a 32-bit picture whose alpha is at least
// alphaThreshold; every pixel of other formats) take the nearest palette entry; the others
// take black's index.
//
// The palette is made of the picture's own colours when they fit; else of its colours with the
// lowest one, two or three bits of each channel cleared (the first of these that fits, topped
// up from the next finer set); else of the most used cells of a 33-level histogram, taken on
// ever finer grids of levels.
TBitmap ReducePalette(const TBitmap& picture, int limit, int alphaThreshold);

}  // namespace varnel

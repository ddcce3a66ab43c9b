#pragma once
// Scaling pictures with the resampling filters: 24-bit colour pictures, and 32-bit pictures whose
// alpha weighs every colour so that transparent pixels do not bleed into their neighbours.

#include "graphics/bitmap.h"

namespace varnel {

// Scales a 24-bit source to the size of dest, which becomes 24-bit. Nothing happens (dest keeps
// its content) when either bitmap has a zero dimension or the source is not 24-bit. A source
// of the destination's size is copied unchanged. Filter 0 (or any index without a kernel) and
// a 1 x 1 source give a plain stretch.
void Resample(const TBitmap& source, TBitmap& dest, int filter);

// Scales a 32-bit source with alpha to the size of dest, which becomes 32-bit. A source of the
// same size is copied; an empty source gives a transparent black dest; an empty dest stays as it
// is. A source of another format is taken as fully opaque.
void ResampleAlpha(const TBitmap& source, TBitmap& dest, int filter);

}  // namespace varnel

#pragma once
// Bringing a picture to the size of a new icon image.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "icons/subiconlist.h"

namespace varnel {

// The part of a width x height target that a picture of the source size fills: the whole target,
// or with keepProportions the largest centred rectangle of the source's proportions (edges
// rounded, kept inside the target, at least one pixel each way).
TRect TargetRect(int sourceWidth, int sourceHeight, bool keepProportions, int width, int height);

// Adds to images one image made from picture (and its mask, when given) at width x height. A
// picture of that size is added unchanged. Otherwise it is scaled as a 32-bit picture with
// alpha, with the resampling filter (0: a plain stretch), into the target, or, keeping its
// proportions, into the largest centred rectangle of its proportions; pixels whose alpha is
// below alphaThreshold become transparent. The image added is 32-bit.
void AddBitmapSized(TSubIconList& images, const TBitmap& picture, const TBitmap* mask, int filter,
                    int alphaThreshold, bool keepProportions, int width, int height);

}  // namespace varnel

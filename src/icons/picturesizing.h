#pragma once
// Bringing a picture to the size of a new icon image.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "icons/subiconlist.h"

namespace varnel {

// The part of a width x height target a picture of sourceWidth x sourceHeight fills: the whole
// target, or, keeping its proportions, the largest centred rectangle of its proportions (edges
// rounded, kept inside the target, at least one pixel a side).
TRect TargetRectangle(int sourceWidth, int sourceHeight, bool keepProportions, int width,
                      int height);

// Adds to images one image made from picture (and its mask, when given) at width x height. A
// picture of that size is added unchanged. Otherwise it is scaled as a 32-bit picture with
// alpha (masked pixels transparent), with the resampling filter (0: a plain stretch), into the
// target rectangle, the rest of the target transparent, and brought back to the picture's own
// pixel format: 32 bits keep the alpha; 24 bits turn pixels whose alpha is below alphaThreshold
// black; 8 bits with a filter get a reduced palette of the scaled colours; 8 bits without a
// filter and 1, 4, 15 and 16 bits take the nearest colours of the picture's own palette. Pixels
// whose alpha is below alphaThreshold are transparent in the image's mask.
void AddBitmapSized(TSubIconList& images, const TBitmap& picture, const TBitmap* mask, int filter,
                    int alphaThreshold, bool keepProportions, int width, int height);

}  // namespace varnel

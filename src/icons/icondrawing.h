#pragma once
// Drawing icon images onto bitmaps: at their natural size with their mask or alpha, composed on
// a background colour, stretched or resampled to a size, and fitted into a cell.
//
// A background colour of clNone means "no background": images keep their transparency and are
// put over what the canvas shows. On a 32-bit canvas that keeps the canvas's alpha meaningful
// (a transparent canvas receives the image's own pixels); on other canvases the image is blended
// onto the colours there. The sizes follow the order (height, width) of the grid's calls.

#include "graphics/bitmap.h"
#include "icons/subicon.h"

namespace varnel {

class TAdvancedIcon;

// Draws a handle at its natural size: images with alpha over the canvas, others by their mask
// (AND with the mask, then XOR with the colour bitmap).
void DrawIconHandle(TBitmap& canvas, int x, int y, const TIconHandle& handle);

// Natural size. An image with alpha is put over the canvas when backColor is clNone, else
// composed over backColor first; any other image is drawn by its mask.
void DrawMasked(TBitmap& canvas, int x, int y, TColor backColor, const TSubIcon& image);

// The image composed over backColor (each channel bg + a*src div 255 - a*bg div 255) and
// stretched to width x height without smoothing.
void DrawAlpha(TBitmap& canvas, int x, int y, TColor backColor, const TSubIcon& image, int height,
               int width);
// As DrawAlpha, but resampled with filter (when it is not 0 and the size changes).
void DrawAlphaScaled(TBitmap& canvas, int x, int y, int filter, TColor backColor,
                     const TSubIcon& image, int height, int width);
// The image scaled to exactly width x height with the display filter.
void DrawStretched(TBitmap& canvas, int x, int y, TColor backColor, const TSubIcon& image,
                   int height, int width);
// The image fitted into the cell width x height at (x, y). Without fit, or when the image has
// the cell's size, as DrawStretched. With fit: a larger image shrinks to the largest size of its
// proportions that fits, with the display filter; a smaller one is drawn at its own size or,
// with enlarge, multiplied by the largest whole factor that fits, by pixel replication; either
// is centred in the cell.
void DrawFitted(TBitmap& canvas, int x, int y, bool enlarge, bool fit, TColor backColor,
                const TSubIcon& image, int height, int width);

// The best image of icon for (width, height, bpp) drawn on backColor into a new bitmap of the
// image's size (24-bit; 32-bit and transparent where the image is when backColor is clNone).
// An icon without a drawable image gives an empty bitmap.
void DrawPreview(TBitmap& picture, const TAdvancedIcon& icon, int width, TColor backColor, int bpp,
                 int height);

}  // namespace varnel

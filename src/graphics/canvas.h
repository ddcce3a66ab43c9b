#pragma once
// Canvas operations on TBitmap: the drawing the icon model needs from the platform.

#include "graphics/bitmap.h"

namespace varnel {

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Fills a rectangle (clipped to the bitmap) with one colour.
void FillRect(TBitmap& dest, const TRect& rect, TColor color);

// Copies source onto dest with its top-left corner at (x, y), clipped. Colours are converted
// to dest's format: onto a palette the nearest entry is taken; 32-bit alpha is copied when both
// are 32-bit, else dropped (and 0 when drawing into 32 bits from another format).
void Draw(TBitmap& dest, int x, int y, const TBitmap& source);

// A copy of source in another pixel format (Draw onto a new bitmap of that format, with the
// standard palette for 1, 4 and 8 bits unless palette is given).
TBitmap ConvertFormat(const TBitmap& source, PixelFormat format,
                      const std::vector<RGBQuad>* palette = nullptr);

// Plain stretching without smoothing (each destination pixel takes the nearest source pixel)
// of source into rect of dest, clipped.
void StretchDraw(TBitmap& dest, const TRect& rect, const TBitmap& source);

// Icon composition at (x, y): dest := (dest AND mask) XOR colour, per pixel. mask is 1 bit per
// pixel (a set bit keeps the destination), colour any format of the same size as mask.
void DrawMaskedXor(TBitmap& dest, int x, int y, const TBitmap& colour, const TBitmap& mask);

}  // namespace varnel

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
// of source into rect of dest, clipped. The source pixel taken is the one under the centre of
// the destination pixel; a rect whose right is left of its left (or bottom above its top)
// mirrors the picture. Colours convert as in Draw.
void StretchDraw(TBitmap& dest, const TRect& rect, const TBitmap& source);

// Alpha blending of a 32-bit source at (x, y), clipped: each colour channel becomes
// dst + a * (src - dst) div 255 (a the source's fourth byte, div truncating toward zero), so
// opaque pixels replace the destination and transparent ones leave it. On an indexed dest the
// blended colour takes the nearest palette entry; the fourth byte of a 32-bit dest becomes
// a + da * (255 - a) div 255. A source of any other format is drawn as by Draw.
void DrawBlended(TBitmap& dest, int x, int y, const TBitmap& source);

// Icon composition at (x, y): dest := (dest AND mask) XOR colour, per pixel. mask is 1 bit per
// pixel (a set bit keeps the destination), colour any format of the same size as mask (when
// the sizes differ, their common part is drawn). colour is first converted to dest's format as
// Draw does. On an indexed dest the operation works on palette indices, as on a palette device.
// On a 32-bit dest it works on the colour bytes; the fourth byte becomes 255 where the mask bit
// is clear (the icon's pixel is put down) and is kept where it is set.
void DrawMaskedXor(TBitmap& dest, int x, int y, const TBitmap& colour, const TBitmap& mask);

}  // namespace varnel

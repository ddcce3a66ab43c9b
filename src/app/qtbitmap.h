#pragma once
// Conversions between the raster layer's bitmaps and Qt images.

#include <QImage>

#include "graphics/bitmap.h"

namespace varnel {

// The bitmap as a 32-bit image; a 32-bit bitmap keeps its alpha when withAlpha is set,
// every other one becomes opaque.
QImage ToQImage(const TBitmap& bitmap, bool withAlpha);
// The image as a 32-bit bitmap with alpha.
TBitmap FromQImage(const QImage& image);

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

}  // namespace varnel

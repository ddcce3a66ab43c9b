#pragma once
// The built-in renderers of vector drawings: SVG (plain or gzip-compressed) through librsvg and
// the first page of a PDF (or of an Illustrator file saved with PDF content) through Poppler.
// Both draw into a 32-bit bitmap whose fourth byte is the alpha (not premultiplied).

#include <cstdint>
#include <optional>
#include <span>

#include "graphics/bitmap.h"

namespace varnel {

// The largest width or height a drawing may have before it is drawn.
constexpr int kMaxDrawingSide = 16384;
// The most pixels a drawing may be drawn with (256 MiB at 4 bytes a pixel).
constexpr int64_t kMaxDrawingPixels = int64_t(1) << 26;

enum class DrawingFormat { Svg, Pdf };

struct DrawingSize {
  double width = 0;
  double height = 0;
};

// The size a drawing has of its own, in pixels (96 per inch); nothing when the data cannot be
// read or gives no size. A size beyond kMaxDrawingSide is returned as it is: RenderDrawing
// refuses it.
std::optional<DrawingSize> DrawingSizeOf(std::span<const uint8_t> data, DrawingFormat format);

// Draws the drawing scaled to width x height (its own size, rounded up, when both are 0).
// Raises EInvalidGraphic for data the renderer rejects and for a size of 0 or beyond
// kMaxDrawingSide on either side or kMaxDrawingPixels in all.
TBitmap RenderDrawing(std::span<const uint8_t> data, DrawingFormat format, int width = 0,
                      int height = 0);

}  // namespace varnel

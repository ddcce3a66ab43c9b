#pragma once
// Vector drawings (SVG, SVGZ, PDF, AI) turned into icon images: through the external renderer
// when one is installed, else through the built-in renderers.

#include <cstdint>
#include <span>
#include <string>

#include "graphics/bitmap.h"
#include "graphics/vectordrawing.h"
#include "icons/advancedicon.h"

namespace varnel {

// The most bytes a drawing file may have to be read.
constexpr uint64_t kMaxDrawingFileBytes = uint64_t(256) << 20;

// The drawing format of data: PDF (also Illustrator files, which hold PDF) when it starts with
// "%PDF-", else SVG (gzip-compressed or not).
DrawingFormat DrawingFormatOf(std::span<const uint8_t> data);

// Raises EInvalidGraphic when the drawing's own size is beyond kMaxDrawingSide on a side or
// kMaxDrawingPixels in all.
void CheckDrawingSize(std::span<const uint8_t> data);

// The external renderer's picture of the file at its own size, split into a colour bitmap and a
// mask where alpha is below alphaThreshold. False without a renderer, without the file, or
// when the renderer wrote nothing readable.
bool RenderVectorFile(const std::string& fileName, TBitmap& color, TBitmap& mask,
                      int alphaThreshold);

// The drawing at width x height by the built-in renderer (its own size when both are 0), as a
// 32-bit picture with alpha.
TBitmap RenderDrawingFile(const std::string& fileName, int width = 0, int height = 0);

// Adds the drawing at its own size: the external renderer's picture (mask below 80), else the
// built-in renderer's 32-bit picture without a mask. A drawing that neither draws adds nothing.
void AddDrawingFile(TAdvancedIcon& icon, const std::string& fileName);

}  // namespace varnel

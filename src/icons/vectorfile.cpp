#include "icons/vectorfile.h"

#include <cstring>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/externalrenderer.h"
#include "icons/pngpicture.h"

namespace varnel {

namespace {

constexpr int kRenderedAlphaThreshold = 80;

}

void CheckDrawingSize(std::span<const uint8_t> data) {
  auto size = DrawingSizeOf(data, DrawingFormatOf(data));
  if (size && (size->width > kMaxDrawingSide || size->height > kMaxDrawingSide ||
               size->width * size->height > double(kMaxDrawingPixels)))
    throw EInvalidGraphic("Drawing is too large: " + std::to_string(int64_t(size->width)) + "x" +
                          std::to_string(int64_t(size->height)));
}  // namespace

DrawingFormat DrawingFormatOf(std::span<const uint8_t> data) {
  bool pdf = data.size() >= 5 && std::memcmp(data.data(), "%PDF-", 5) == 0;
  return pdf ? DrawingFormat::Pdf : DrawingFormat::Svg;
}

bool RenderVectorFile(const std::string& fileName, TBitmap& color, TBitmap& mask,
                      int alphaThreshold) {
  auto renderer = FindExternalRenderer();
  if (!renderer) return false;
  auto png = RunExternalRenderer(*renderer, fileName);
  if (!png) return false;
  try {
    TColorAndMask picture = LoadPngPicture(*png, alphaThreshold);
    color = std::move(picture.color);
    mask = std::move(picture.mask);
    return true;
  } catch (const EInvalidGraphic&) {
    return false;
  }
}

TBitmap RenderDrawingFile(const std::string& fileName, int width, int height) {
  std::vector<uint8_t> data = ReadWholeFile(fileName, kMaxDrawingFileBytes);
  return RenderDrawing(data, DrawingFormatOf(data), width, height);
}

void AddDrawingFile(TAdvancedIcon& icon, const std::string& fileName) {
  // A drawing whose own size is beyond the limit is refused before any renderer sees it.
  CheckDrawingSize(ReadWholeFile(fileName, kMaxDrawingFileBytes));
  TBitmap color, mask;
  if (RenderVectorFile(fileName, color, mask, kRenderedAlphaThreshold)) {
    icon.Images().AddFromBitmap(color, &mask, 0);
    return;
  }
  try {
    icon.Images().AddFromBitmap(RenderDrawingFile(fileName), nullptr, 0);
  } catch (const Exception&) {
    // Neither renderer could draw it: nothing is added.
  }
}

}  // namespace varnel

#include "icons/gifexport.h"

#include "base/fileio.h"
#include "graphics/canvas.h"
#include "graphics/exactpalette.h"
#include "graphics/palettereduction.h"
#include "graphics/pngcodec.h"

namespace varnel {

namespace {

bool IsIndexed(const TBitmap& bitmap) {
  return bitmap.BitsPerPixel() >= 1 && bitmap.BitsPerPixel() <= 8;
}

bool Opaque(const TBitmap& rgba, int x, int y, int alphaThreshold) {
  return rgba.ScanLine(y)[4 * x + 3] >= alphaThreshold;
}

bool KeepsOpaqueColors(const TBitmap& rgba, const TBitmap& indexed, int alphaThreshold) {
  for (int y = 0; y < rgba.Height(); ++y)
    for (int x = 0; x < rgba.Width(); ++x)
      if (Opaque(rgba, x, y, alphaThreshold) && indexed.GetPixel(x, y) != rgba.GetPixel(x, y))
        return false;
  return true;
}

// The opaque pixels' colours in a palette of their own, when at most 255 of them leave an entry
// for transparency: the reduction also reserves entries an image may not use.
std::optional<TBitmap> OpaqueColorsExactly(const TBitmap& rgba, int alphaThreshold) {
  TBitmap opaque = rgba;
  std::optional<TColor> fill;
  for (int y = 0; y < rgba.Height() && !fill; ++y)
    for (int x = 0; x < rgba.Width() && !fill; ++x)
      if (Opaque(rgba, x, y, alphaThreshold)) fill = rgba.GetPixel(x, y);
  if (!fill) return std::nullopt;
  // Transparent pixels take an opaque pixel's colour so that they add no entry.
  for (int y = 0; y < rgba.Height(); ++y)
    for (int x = 0; x < rgba.Width(); ++x)
      if (!Opaque(rgba, x, y, alphaThreshold)) opaque.SetPixel(x, y, *fill);
  std::optional<TBitmap> exact = IndexedExactly(opaque, {});
  if (!exact || exact->Palette().size() > 255) return std::nullopt;
  return exact;
}

}  // namespace

TBitmap IndexedForGif(const TBitmap& bitmap, int limit) {
  if (!IsIndexed(bitmap)) return ReducePalette(bitmap, limit, 0);
  std::vector<RGBQuad> palette = bitmap.Palette();
  return ConvertFormat(bitmap, PixelFormat::Bits8, &palette);
}

void SaveBitmapAsGif(const TBitmap& bitmap, const std::string& fileName) {
  WriteFileAtomic(fileName, EncodeGif(GifOfIndexedBitmap(IndexedForGif(bitmap, 256))));
}

GifPicture ImageToGif(const TSubIcon& image, int alphaThreshold) {
  TBitmap rgba = DecodePngRgba(image.SaveToPng());
  TBitmap indexed = ReducePalette(rgba, 255, alphaThreshold);
  if (!KeepsOpaqueColors(rgba, indexed, alphaThreshold))
    if (std::optional<TBitmap> exact = OpaqueColorsExactly(rgba, alphaThreshold))
      indexed = std::move(*exact);
  std::vector<RGBQuad> palette = indexed.Palette();
  int transparent = int(palette.size());
  palette.push_back({0, 0, 0, 0});
  indexed.SetPalette(std::move(palette));
  for (int y = 0; y < rgba.Height(); ++y)
    for (int x = 0; x < rgba.Width(); ++x)
      if (rgba.ScanLine(y)[4 * x + 3] < alphaThreshold)
        indexed.ScanLine(y)[x] = uint8_t(transparent);
  return GifOfIndexedBitmap(indexed, transparent);
}

}  // namespace varnel

#include "icons/gifexport.h"

#include "base/fileio.h"
#include "graphics/canvas.h"
#include "graphics/palettereduction.h"
#include "graphics/pngcodec.h"

namespace varnel {

namespace {

bool IsIndexed(const TBitmap& bitmap) {
  return bitmap.BitsPerPixel() >= 1 && bitmap.BitsPerPixel() <= 8;
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

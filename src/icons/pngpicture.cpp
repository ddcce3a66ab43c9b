#include "icons/pngpicture.h"

#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "icons/maskbits.h"

namespace varnel {

TBitmap MaskFromAlphaBelow(const TBitmap& rgba, int threshold) {
  TBitmap mask(rgba.Width(), rgba.Height(), PixelFormat::Bits1);
  mask.SetPalette(StandardPalette(1));
  for (int y = 0; y < rgba.Height(); ++y) {
    const uint8_t* src = rgba.ScanLine(y);
    for (int x = 0; x < rgba.Width(); ++x)
      if (src[4 * x + 3] < threshold) SetMaskBit(mask, x, y);
  }
  return mask;
}

TColorAndMask LoadPngPicture(std::span<const uint8_t> png, int alphaThreshold) {
  return {DecodePng(png), MaskFromAlphaBelow(DecodePngRgba(png), alphaThreshold)};
}

void LoadPngFile(const std::string& fileName, int alphaThreshold, TBitmap& color, TBitmap& mask) {
  // A compressed PNG is never larger than the pixels it may decode to.
  TColorAndMask picture =
      LoadPngPicture(ReadWholeFile(fileName, uint64_t(kMaxPngDecodeBytes)), alphaThreshold);
  color = std::move(picture.color);
  mask = std::move(picture.mask);
}

}  // namespace varnel

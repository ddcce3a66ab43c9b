#include "icons/maskfrombackgrounds.h"

#include "base/errors.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

bool IsTrueColor(const TBitmap& bitmap) {
  return bitmap.Format() == PixelFormat::Bits24 || bitmap.Format() == PixelFormat::Bits32;
}

}  // namespace

void MaskFromBackgrounds(TBitmap& onBlack, const TBitmap& onWhite, TBitmap& mask) {
  if (!IsTrueColor(onBlack) || onBlack.Format() != onWhite.Format() ||
      onBlack.Width() != onWhite.Width() || onBlack.Height() != onWhite.Height())
    throw EInvalidGraphic("Drawings on black and on white do not match");
  mask = TBitmap(onBlack.Width(), onBlack.Height(), PixelFormat::Bits1);
  int step = onBlack.BitsPerPixel() / 8;
  for (int y = 0; y < onBlack.Height(); ++y) {
    uint8_t* black = onBlack.ScanLine(y);
    const uint8_t* white = onWhite.ScanLine(y);
    for (int x = 0; x < onBlack.Width(); ++x, black += step, white += step) {
      bool differs = black[0] != white[0] || (black[1] != white[1] && black[2] != white[2]);
      if (!differs) continue;
      SetMaskBit(mask, x, y);
      black[0] = black[1] = black[2] = 0;
    }
  }
}

}  // namespace varnel

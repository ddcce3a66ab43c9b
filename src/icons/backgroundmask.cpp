#include "icons/backgroundmask.h"

#include "base/errors.h"
#include "graphics/canvas.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

// The drawings as 24-bit rows of equal size.
void CheckPair(const TBitmap& onBlack, const TBitmap& onWhite) {
  if (onBlack.Format() != PixelFormat::Bits24 || onWhite.Format() != PixelFormat::Bits24 ||
      onBlack.Width() != onWhite.Width() || onBlack.Height() != onWhite.Height())
    throw EInvalidGraphic("Drawings on black and on white differ in size or format");
}

bool Differs(const uint8_t* black, const uint8_t* white) {
  return black[0] != white[0] || (black[1] != white[1] && black[2] != white[2]);
}

}  // namespace

TBitmap DrawnOnBackground(const TBitmap& picture, TColor background) {
  TBitmap result(picture.Width(), picture.Height(), PixelFormat::Bits24);
  result.Fill(background);
  if (picture.Format() == PixelFormat::Bits32)
    DrawBlended(result, 0, 0, picture);
  else
    Draw(result, 0, 0, picture);
  return result;
}

TBitmap MaskFromBackgrounds(TBitmap& onBlack, const TBitmap& onWhite) {
  CheckPair(onBlack, onWhite);
  TBitmap mask(onBlack.Width(), onBlack.Height(), PixelFormat::Bits1);
  mask.SetPalette(StandardPalette(1));
  for (int y = 0; y < onBlack.Height(); ++y) {
    uint8_t* black = onBlack.ScanLine(y);
    const uint8_t* white = onWhite.ScanLine(y);
    for (int x = 0; x < onBlack.Width(); ++x, black += 3, white += 3) {
      if (!Differs(black, white)) continue;
      SetMaskBit(mask, x, y);
      black[0] = black[1] = black[2] = 0;
    }
  }
  return mask;
}

TBitmap AlphaFromBackgrounds(const TBitmap& onBlack, const TBitmap& onWhite) {
  CheckPair(onBlack, onWhite);
  TBitmap result(onBlack.Width(), onBlack.Height(), PixelFormat::Bits32);
  for (int y = 0; y < onBlack.Height(); ++y) {
    const uint8_t* black = onBlack.ScanLine(y);
    const uint8_t* white = onWhite.ScanLine(y);
    uint8_t* out = result.ScanLine(y);
    for (int x = 0; x < onBlack.Width(); ++x, black += 3, white += 3, out += 4) {
      if (black[0] != white[0] || black[1] != white[1] || black[2] != white[2]) continue;
      out[0] = black[0], out[1] = black[1], out[2] = black[2], out[3] = 255;
    }
  }
  return result;
}

}  // namespace varnel

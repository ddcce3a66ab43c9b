#pragma once
// TXPMImage: a 32-bit picture read from and written as an X pixmap (XPM, C source), also read
// from the 3-3-2 thumbnail form that starts with "P7 332".

#include <string>

#include "base/stream.h"
#include "graphics/bitmap.h"

namespace varnel {

class TXPMImage : public TBitmap {
 public:
  TXPMImage() : TBitmap(0, 0, PixelFormat::Bits32) {}

  // The C identifier of the picture ("hopper" for "static char * hopper_xpm[]").
  std::string VarName;

  // Reads the rest of the stream. Raises EInvalidGraphic "Invalid XPM image data, err. 1" when
  // the values string is missing, "... err. 2" for values out of range (or more than the text
  // can hold), "... err. 3" and "#END_OF_COMMENTS: not found" for bad thumbnails.
  void LoadFromStream(Stream& stream);
  // Writes the picture with its VarName (cleaned); pixels of alpha 0 are transparent.
  void SaveToStream(Stream& stream) const;

  // A 24-bit colour bitmap and a 1-bit mask (white = transparent): pixels of alpha 0 are
  // transparent and black, the others keep their colour.
  void GetBitmaps(TBitmap& color, TBitmap& mask) const;
  // The picture becomes color with mask (white = transparent, may be null) as its alpha; pixels
  // whose alpha is then below alphaThreshold become transparent black, the others opaque.
  void SetFromBitmaps(const TBitmap& color, const TBitmap* mask, int alphaThreshold);

 private:
  void LoadPixmap(const std::string& text);
  void LoadThumbnail(std::span<const uint8_t> bytes);
};

}  // namespace varnel

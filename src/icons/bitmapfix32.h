#pragma once
// TBitmapFix32: the bitmap that reads and writes 32-bit BMP files with their alpha channel.
// A 32-bit BMP without any alpha (every fourth byte 0) reads as opaque.

#include "base/stream.h"
#include "graphics/bitmap.h"

namespace varnel {

class TBitmapFix32 : public TBitmap {
 public:
  using TBitmap::TBitmap;
  TBitmapFix32() = default;
  explicit TBitmapFix32(const TBitmap& bitmap) : TBitmap(bitmap) {}

  // Reads a BMP file at the stream position ("Bitmap image is not valid" when it is none). A
  // 32-bit file that declares more data than its pixels (pixels followed by a mask) is read
  // without the rest, and the stream is left after the declared data; any other file leaves
  // the stream after the file size its header gives (at the end when that is out of range).
  void LoadFromStream(Stream& stream);
  // A 32-bit bitmap is written with its alpha: file header, 40-byte info header (image size
  // 4 * w * h), pixels bottom-up, no colour table. Other formats are written the standard way.
  void SaveToStream(Stream& stream) const;
};

// Registers TBitmapFix32 as the picture format of the extension "bmp" (description "Bitmap")
// and of clipboard bitmaps. Called once at start-up.
void RegisterBitmapFix32();

}  // namespace varnel

#pragma once
// TWapBitmap: a wireless (WAP) bitmap, type 0: a 1-bit picture, palette black then white.

#include "base/stream.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/pictureformats.h"

namespace varnel {

class TWapBitmap {
 public:
  TWapBitmap();

  // Reads a type-0 WAP bitmap; EInvalidGraphic "Invalid file header" unless the first two bytes
  // are 0. A file that ends early leaves its missing rows black.
  void LoadFromStream(Stream& stream);
  // The bitmap stretched into rect as a plain copy.
  void Draw(TBitmap& canvas, const TRect& rect) const;
  void Assign(const TWapBitmap& source) { bitmap_ = source.bitmap_; }
  // A 1-bit bitmap is copied; EInvalidGraphic for any other format.
  void Assign(const TBitmap& source);

  const TBitmap& Bitmap() const { return bitmap_; }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  bool Empty() const { return bitmap_.Empty(); }

 private:
  TBitmap bitmap_;
};

// The picture format of files named .wbmp, whose content has no mark to be recognised by; it is
// registered for the extension at start-up.
const TPictureFormat& WbmpPictureFormat();

}  // namespace varnel

#pragma once
// The picture formats the raster layer knows by file extension, and the one that reads and
// writes clipboard bitmaps. Higher layers register their readers here (a later registration
// for the same extension replaces the earlier one), so that every picture file passes through
// the class registered for its extension.

#include <functional>
#include <string>

#include "base/stream.h"
#include "graphics/bitmap.h"

namespace varnel {

struct TPictureFormat {
  std::string description;  // "Bitmap"
  std::function<TBitmap(Stream&)> load;
  std::function<void(const TBitmap&, Stream&)> save;
  // A bitmap class, whose pictures are taken as they are; other graphics have no mask of their
  // own and are drawn on black and on white to find one.
  bool isBitmap = false;
  // The word a file's preview names the format by ("XPM"); empty for "Picture".
  std::string typeWord;
  // Read by a class of its own whose pictures are added to icons as they are read (no mask
  // drawn from backgrounds), and resampled like any image when brought to another size.
  bool readByOwnClass = false;
};

// extension without the dot, any letter case.
void RegisterPictureFormat(const std::string& extension, TPictureFormat format);
// The format registered for an extension, or null.
const TPictureFormat* FindPictureFormat(const std::string& extension);

void RegisterClipboardBitmapFormat(TPictureFormat format);
// The format clipboard bitmaps pass through, or null when none is registered.
const TPictureFormat* ClipboardBitmapFormat();

}  // namespace varnel

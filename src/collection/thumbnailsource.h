#pragma once
// The picture a file is shown by in a file manager: its first icon's best image for a size,
// drawn as the grid draws it.

#include <string>

#include "graphics/bitmap.h"

namespace varnel {

// The first icon of any file the collection reads (a collection file's first item; a module's
// first icon group), its best image for size x size at 32 bits drawn with alpha into a bitmap
// of that image's size, shrunk to fit size x size when it is larger. Raises Exception when the
// file cannot be read or gives no icon with an image.
TBitmap ThumbnailOf(const std::string& path, int size);

}  // namespace varnel

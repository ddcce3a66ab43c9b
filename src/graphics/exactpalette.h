#pragma once
// Indexed copies of pictures that have few enough colours to keep every one of them.

#include <optional>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// An 8-bit copy of a 24-bit or 32-bit picture whose palette holds first the given colours, then
// the picture's other colours in the order they are met (alpha ignored); nothing when more than
// 256 entries would be needed.
std::optional<TBitmap> IndexedExactly(const TBitmap& picture, const std::vector<TColor>& first);

}  // namespace varnel

#pragma once
// An icon's pictures at the square sizes that icon themes, favicon sets and X cursors are made
// of: its own image of a size where it has one, else its best image scaled, or the drawing it
// came from drawn at the size.

#include <cstdint>
#include <map>
#include <vector>

#include "graphics/bitmap.h"
#include "icons/advancedicon.h"

namespace varnel {

// For each side an image of the icon has (its larger side for images that are not square), the
// deepest image of that side; the first of equal ones.
std::map<int, const TSubIcon*> DeepestImagesBySide(const TAdvancedIcon& icon);

// The image as a 32-bit picture with alpha.
TBitmap PictureOf(const TSubIcon& image);

// The image as a 32-bit picture with alpha, centred on a transparent square of its larger side
// when it is not square.
TBitmap SquarePicture(const TSubIcon& image);

// The icon at size x size as a 32-bit picture with alpha: the drawing when svg is given, else
// its deepest image of that size, else its best image scaled. Empty for an empty icon.
TBitmap PictureAtSize(const TAdvancedIcon& icon, int size,
                      const std::vector<uint8_t>* svg = nullptr);

}  // namespace varnel

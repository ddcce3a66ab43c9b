#pragma once
// Icon images turned into the pictures that export writes: the background colour of an image's
// depth, the composed picture, and the JPEG and bitmap file contents.

#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

class TSubIcon;
struct TSettings;

// "Back1bpp" for 1-bit images, "Back4bpp" for 4-bit ones, "Back8bpp" for all others.
TColor BackgroundForDepth(const TSettings& settings, int bpp);

// The image composed onto background as a 24-bit picture (a palette of few colours could not
// hold the background colour).
TBitmap ImageOnBackground(const TSubIcon& image, TColor background);

// A bitmap file of the image: a 32-bit image keeps its alpha channel; an 8-bit one stays 8-bit,
// its transparent pixels taking a spare palette entry of the background colour (composed
// onto it when no entry is spare); others are composed onto the background colour.
std::vector<uint8_t> BitmapFileOfImage(const TSubIcon& image, TColor background);

// A JPEG file of a picture at quality 100, or at 70 when the first attempt fails.
std::vector<uint8_t> JpegFileOfPicture(const TBitmap& picture);

}  // namespace varnel

#pragma once
// X cursor files ("Xcur"), the cursors of X cursor themes: images at nominal sizes, each with
// its hot spot, and for an animated cursor several images of a size shown in turn for their
// delays. Read and written by libXcursor, loaded on first use.

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// The most pixel bytes one X cursor file may make its reader allocate (all images together).
constexpr uint64_t kMaxXCursorPixelBytes = uint64_t(256) << 20;

struct XCursorImage {
  int nominalSize = 0;
  TBitmap picture;  // 32-bit with alpha (not premultiplied)
  int hotX = 0;
  int hotY = 0;
  uint32_t delay = 0;  // milliseconds to the next image of an animation
};

// Whether bytes begin as an X cursor file does.
bool HasXCursorSignature(std::span<const uint8_t> bytes);

// Whether the file's table names two images of one nominal size: an animation. Reads the table
// only; false for a file that is not valid.
bool IsAnimatedXCursor(std::span<const uint8_t> bytes);

// The images in file order. Raises EInvalidGraphic "X cursor file is not valid" for a file the
// library refuses, whose table or images reach past its end, or whose images would take more
// than kMaxXCursorPixelBytes; ELibraryMissing when libXcursor is not installed.
std::vector<XCursorImage> ReadXCursor(std::span<const uint8_t> bytes);

// The file holding the images, hot spots moved inside their images.
std::vector<uint8_t> WriteXCursor(const std::vector<XCursorImage>& images);

}  // namespace varnel

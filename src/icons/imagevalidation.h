#pragma once
// The limits within which the icon model loads and draws an image, and the check of an image's
// bytes against them and against the bytes actually present.

#include <cstdint>
#include <optional>
#include <span>

#include "base/errors.h"
#include "icons/dibheader.h"

namespace varnel {

// An image's bytes do not describe an image the icon model can hold and draw.
class EInvalidImage : public Exception {
 public:
  EInvalidImage() : Exception("Invalid image") {}
};

// A DIB image is at most this many pixels a side.
inline constexpr int64_t kMaxDibSide = 5999;
// A PNG image is at most this many pixels a side and this many pixels in all (2048 x 2048:
// 16 MiB once decoded at 4 bytes a pixel).
inline constexpr int64_t kMaxPngSide = 4096;
inline constexpr int64_t kMaxPngPixels = int64_t(2048) * 2048;

// Where the parts of a DIB image lie in its bytes.
struct DibLayout {
  int width = 0;
  int height = 0;               // half of biHeight: the colour rows
  int bits = 0;                 // planes x bit count
  int64_t colorBitsOffset = 0;  // after the header and the colour table (or channel masks)
  int64_t colorBitsSize = 0;
  int64_t maskSize = 0;
};

// The layout of a DIB header of a known depth (1, 4, 8, 16, 24 or 32 bits) whose width and
// height are 1 to kMaxDibSide; nothing for any other header. Every size is computed in checked
// 64-bit arithmetic from the header's 32-bit fields.
std::optional<DibLayout> DibLayoutOf(const TBitmapInfoHeader& header);

// True when data holds an image the icon model can draw: a PNG whose IHDR is well formed and
// within the PNG limits, or a DIB within DibLayoutOf's limits whose header, colour table and
// colour bits are all present (a short or missing mask is drawn as opaque; run-length encoded
// bits need only be there in part). Empty data is no image and gives false.
bool IsValidIconImageData(std::span<const uint8_t> data);

// The bytes at the start of an image's data that hold all that validation and the image's
// description read: a DIB's header (40 bytes) or a PNG's signature and IHDR chunk (33 bytes).
inline constexpr size_t kImageHeadSize = 64;
// IsValidIconImageData for data of `size` bytes whose first min(size, kImageHeadSize) bytes are
// head, so that data kept in a file's mapping is checked without touching its pages.
bool IsValidIconImageHead(std::span<const uint8_t> head, uint64_t size);

}  // namespace varnel

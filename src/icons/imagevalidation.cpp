#include "icons/imagevalidation.h"

#include <algorithm>

#include "graphics/pngcodec.h"

namespace varnel {

namespace {

std::optional<int64_t> CheckedProduct(int64_t a, int64_t b) {
  int64_t product;
  if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}

std::optional<int64_t> CheckedSum(int64_t a, int64_t b) {
  int64_t sum;
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}

bool IsKnownDepth(int64_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Bytes of `rows` DIB rows of `width` pixels: ((width * bits + 31) div 32) * 4 each.
std::optional<int64_t> RowsBytes(int64_t width, int64_t bits, int64_t rows) {
  auto rowBits = CheckedProduct(width, bits);
  if (!rowBits) return std::nullopt;
  auto rowBytes = CheckedProduct((*rowBits + 31) / 32, 4);
  return rowBytes ? CheckedProduct(*rowBytes, rows) : std::nullopt;
}

int64_t ColorTableBytes(const TBitmapInfoHeader& header, int bits) {
  if (bits <= 8) {
    int64_t entries = header.biClrUsed ? int64_t(header.biClrUsed) : int64_t(1) << bits;
    return entries * 4;  // at most 2^32 entries: no overflow in 64 bits
  }
  return (header.biCompression & 3) ? 12 : 0;
}

bool IsValidPngHeader(const PngHeader& header) {
  int64_t width = header.width, height = header.height;
  if (width < 1 || height < 1 || width > kMaxPngSide || height > kMaxPngSide ||
      width * height > kMaxPngPixels)
    return false;
  switch (header.colorType) {
    case 0:
      return header.bitDepth == 1 || header.bitDepth == 2 || header.bitDepth == 4 ||
             header.bitDepth == 8 || header.bitDepth == 16;
    case 3:
      return header.bitDepth == 1 || header.bitDepth == 2 || header.bitDepth == 4 ||
             header.bitDepth == 8;
    case 2:
    case 4:
    case 6:
      return header.bitDepth == 8 || header.bitDepth == 16;
    default:
      return false;
  }
}

// Run-length encoded bits (RLE8 at 8 bits, RLE4 at 4 bits) are shorter than their rows, and
// their decoder stops where the data ends.
bool IsRunLengthEncoded(const TBitmapInfoHeader& header, int bits) {
  return (header.biCompression == 1 && bits == 8) || (header.biCompression == 2 && bits == 4);
}

bool IsValidDib(std::span<const uint8_t> head, uint64_t size) {
  if (head.size() < TBitmapInfoHeader::kSize) return false;
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(head.data());
  auto layout = DibLayoutOf(header);
  if (!layout) return false;
  if (IsRunLengthEncoded(header, layout->bits)) return uint64_t(layout->colorBitsOffset) <= size;
  auto colorEnd = CheckedSum(layout->colorBitsOffset, layout->colorBitsSize);
  return colorEnd && uint64_t(*colorEnd) <= size;
}

}  // namespace

std::optional<DibLayout> DibLayoutOf(const TBitmapInfoHeader& header) {
  int64_t width = header.biWidth;
  int64_t height = uint32_t(header.biHeight) >> 1;
  int64_t bits = int64_t(header.biPlanes) * header.biBitCount;
  if (width < 1 || width > kMaxDibSide || height < 1 || height > kMaxDibSide || !IsKnownDepth(bits))
    return std::nullopt;
  auto colorBits = RowsBytes(width, bits, height);
  auto mask = RowsBytes(width, 1, height);
  auto offset = CheckedSum(TBitmapInfoHeader::kSize, ColorTableBytes(header, int(bits)));
  if (!colorBits || !mask || !offset) return std::nullopt;
  return DibLayout{int(width), int(height), int(bits), *offset, *colorBits, *mask};
}

bool IsValidIconImageData(std::span<const uint8_t> data) {
  return IsValidIconImageHead(data.first(std::min(data.size(), kImageHeadSize)), data.size());
}

bool IsValidIconImageHead(std::span<const uint8_t> head, uint64_t size) {
  if (size > 8 && HasPngSignature(head)) {
    auto header = ReadPngHeader(head);
    return header && IsValidPngHeader(*header);
  }
  return IsValidDib(head, size);
}

}  // namespace varnel

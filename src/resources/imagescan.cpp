#include "resources/imagescan.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "icons/dibheader.h"

namespace varnel {

namespace {

constexpr size_t kUnexaminedTail = 500;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint8_t kOpaqueAlpha = 80;

bool IsIconWidth(int32_t width) {
  return width == 16 || width == 24 || width == 32 || width == 48 || width == 64 || width == 128;
}

bool IsIconDepth(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

uint32_t PaletteBytes(int bits) {
  return bits == 1 ? 8 : bits == 4 ? 64 : bits == 8 ? 1024 : 0;
}

// The directory entry of a plausible icon DIB at the start of bytes, or nothing.
std::optional<TIconDirEntry> PlausibleIconHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kInfoHeaderSize || ReadU32LE(bytes.data()) != kInfoHeaderSize)
    return std::nullopt;
  const uint8_t* p = bytes.data();
  int32_t width = ReadI32LE(p + 4), height = ReadI32LE(p + 8);
  uint16_t planes = ReadU16LE(p + 12), bits = ReadU16LE(p + 14);
  uint32_t compression = ReadU32LE(p + 16), sizeImage = ReadU32LE(p + 20);
  uint32_t colorsUsed = ReadU32LE(p + 32), colorsImportant = ReadU32LE(p + 36);
  if (!IsIconWidth(width) || height != 2 * width || planes != 1 || !IsIconDepth(bits) ||
      compression != 0 || sizeImage >= bytes.size() || colorsImportant > colorsUsed)
    return std::nullopt;
  TIconDirEntry entry;
  entry.bWidth = entry.bHeight = uint8_t(width);
  entry.bColorCount = uint8_t(colorsUsed);
  entry.wPlanes = 1;
  entry.wBitCount = bits;
  entry.dwBytesInRes = uint32_t(IconRowBytes(width, bits) * width + IconRowBytes(width, 1) * width +
                                kInfoHeaderSize + PaletteBytes(bits));
  return entry;
}

void AddDibIcon(std::span<const uint8_t> bytes, const TIconDirEntry& entry, TIconList& icons) {
  try {
    SpanStream stream(bytes);
    auto image = std::make_unique<TFileIconImage>();
    image->LoadFromEntry(stream, entry, false);
    auto icon = std::make_unique<TAdvancedIcon>();
    icon->Images().Add(std::move(image));
    icons.AddIcon("", std::move(icon));
  } catch (const std::exception&) {
    // Not an image after all.
  }
}

// Length of the PNG file at the start of bytes, through its IEND chunk; 0 when the chunks do not
// form one.
size_t PngFileLength(std::span<const uint8_t> bytes) {
  if (!HasPngSignature(bytes)) return 0;
  size_t position = sizeof kPngSignature;
  while (bytes.size() - position >= 12) {
    uint64_t length = ReadU32BE(bytes.data() + position);
    bool last = std::equal(bytes.begin() + int64_t(position) + 4,
                           bytes.begin() + int64_t(position) + 8, "IEND");
    if (length > bytes.size() - position - 12) return 0;
    position += 12 + size_t(length);
    if (last) return position;
  }
  return 0;
}

// A 1-bit mask, white where the alpha is below the opaque threshold.
TBitmap MaskFromAlpha(const TBitmap& picture) {
  TBitmap mask(picture.Width(), picture.Height(), PixelFormat::Bits1);
  mask.SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* row = picture.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x)
      if (row[x * 4 + 3] < kOpaqueAlpha) mask.SetIndex(x, y, 1);
  }
  return mask;
}

bool AddPngIcon(std::span<const uint8_t> png, TIconList& icons) {
  try {
    TBitmap picture = DecodePngRgba(png);
    auto icon = std::make_unique<TAdvancedIcon>();
    TBitmap mask = MaskFromAlpha(picture);
    icon->Images().AddFromBitmap(picture, &mask, kOpaqueAlpha);
    if (icon->Images().Count() == 0) return false;
    icons.AddIcon("", std::move(icon));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool IsSquare(const TSubIcon& image) {
  return image.ImageWidth() == image.ImageHeight();
}

// Whether image b (alone in its icon) belongs in front of a, the first image of the next icon.
bool BelongsInFront(const TSubIcon& a, const TSubIcon& b) {
  if (!IsSquare(a) || !IsSquare(b)) return false;
  int widthA = a.ImageWidth(), widthB = b.ImageWidth();
  int bitsA = a.BitsPerPixel(), bitsB = b.BitsPerPixel();
  if (widthA == widthB && bitsA == bitsB) return false;
  return (widthA < widthB && bitsA == bitsB) || (widthB < widthA && bitsB < bitsA);
}

}  // namespace

namespace {

// Finds where a bitmap header (its size byte 40) or a PNG signature (its byte 0x89) could start,
// with memchr for each of the two bytes; a search is redone only once the scan has passed it.
class CandidateFinder {
 public:
  CandidateFinder(std::span<const uint8_t> bytes, size_t limit)
      : bytes_(bytes), limit_(limit), header_(Find(kInfoHeaderSize, 0)), png_(Find(0x89, 0)) {}

  // The first candidate at or after position; the limit when there is none.
  size_t Next(size_t position) {
    if (header_ < position) header_ = Find(kInfoHeaderSize, position);
    if (png_ < position) png_ = Find(0x89, position);
    return std::min(header_, png_);
  }

 private:
  size_t Find(uint8_t value, size_t from) const {
    if (from >= limit_) return limit_;
    const void* hit = std::memchr(bytes_.data() + from, value, limit_ - from);
    return hit ? size_t(static_cast<const uint8_t*>(hit) - bytes_.data()) : limit_;
  }

  std::span<const uint8_t> bytes_;
  size_t limit_;
  size_t header_;
  size_t png_;
};

}  // namespace

void ScanBytesForImages(std::span<const uint8_t> bytes, TIconList& icons) {
  int firstScanned = icons.Count();
  size_t limit = bytes.size() > kUnexaminedTail ? bytes.size() - kUnexaminedTail : 0;
  CandidateFinder candidates(bytes, limit);
  for (size_t position = candidates.Next(0); position < limit;
       position = candidates.Next(position)) {
    std::span<const uint8_t> rest = bytes.subspan(position);
    if (std::optional<TIconDirEntry> entry = PlausibleIconHeader(rest)) {
      AddDibIcon(rest, *entry, icons);
      position += entry->dwBytesInRes;
    } else if (size_t length = PngFileLength(rest);
               length && AddPngIcon(rest.first(length), icons)) {
      position += length;
    } else {
      ++position;
    }
  }
  MergeScannedImages(icons, firstScanned);
}

void ScanForImages(const std::string& fileName, TIconList& icons) {
  MappedFile file(fileName);
  ScanBytesForImages(file.Bytes(), icons);
}

void MergeScannedImages(TIconList& icons, int firstScanned) {
  bool merged = false;
  for (int k = icons.Count() - 1; k > firstScanned && k >= 1; --k) {
    TSubIconList& later = icons.Icons(k)->Images();
    TSubIconList& earlier = icons.Icons(k - 1)->Images();
    if (later.Count() < 1 || earlier.Count() != 1) continue;
    if (!BelongsInFront(*later[0], *earlier[0])) continue;
    later.Insert(0, earlier.Extract(0));
    icons.Delete(k - 1);
    merged = true;
  }
  if (!merged) return;
  for (int i = std::max(firstScanned, 0); i < icons.Count(); ++i)
    icons.SetName(i, "Icon " + std::to_string(i + 1));
}

}  // namespace varnel

#include "icons/icnsreader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/jpeg2000codec.h"
#include "graphics/pngcodec.h"
#include "icons/icnselementtypes.h"
#include "icons/icnsplanes.h"
#include "icons/macpalettes.h"

namespace varnel {

namespace {

constexpr size_t kElementHeader = 8;
constexpr std::array kRgbPlanes = {PixelChannel::Red, PixelChannel::Green, PixelChannel::Blue};
constexpr std::array kArgbPlanes = {PixelChannel::Alpha, PixelChannel::Red, PixelChannel::Green,
                                    PixelChannel::Blue};

// What pictures are ordered by: pixel format, then size.
struct PictureShape {
  int bits = 0;
  int width = 0;
  int height = 0;
};

PictureShape ShapeOf(const TBitmap& bitmap) {
  return {bitmap.BitsPerPixel(), bitmap.Width(), bitmap.Height()};
}

// A colour picture as its element gave it, before it meets the masks.
struct ElementPicture {
  explicit ElementPicture(TBitmap picture, bool alpha = false, std::vector<uint8_t> pngBytes = {})
      : bitmap(std::move(picture)),
        png(std::move(pngBytes)),
        ownAlpha(alpha),
        shape(ShapeOf(bitmap)) {}

  TBitmap bitmap;
  std::vector<uint8_t> png;
  // Its alpha came with it (PNG, JPEG 2000, ARGB): a separate mask is not laid over it.
  bool ownAlpha = false;
  std::optional<TBitmap> bitMask;
  // The bitmap's shape, or for a PNG element left undecoded (its bitmap empty) its header's.
  PictureShape shape;
};

struct FamilyParts {
  std::vector<ElementPicture> colors;
  std::vector<TBitmap> masks;  // 8-bit alpha masks and 1-bit masks
  bool decodePng = true;
};

bool StartsWith(std::span<const uint8_t> data, std::string_view prefix) {
  return data.size() >= prefix.size() &&
         std::memcmp(data.data(), prefix.data(), prefix.size()) == 0;
}

// Pixel format first (32, 8, 4, 1 bits), then width and height, both descending.
bool ComesBefore(const PictureShape& a, const PictureShape& b) {
  if (a.bits != b.bits) return a.bits > b.bits;
  if (a.width != b.width) return a.width > b.width;
  return a.height > b.height;
}

bool SameSize(const TBitmap& a, const TBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height();
}

TBitmap OpaqueBlack(int width, int height) {
  TBitmap bitmap(width, height, PixelFormat::Bits32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.ScanLine(y)[4 * x + 3] = 255;
  return bitmap;
}

// Pixels the planes do not reach take the colour of it32's prefix bytes (0, red, green, blue).
void FillWithPrefix(TBitmap& bitmap, std::span<const uint8_t> prefix) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      uint8_t* pixel = bitmap.ScanLine(y) + 4 * x;
      pixel[2] = prefix[1];
      pixel[1] = prefix[2];
      pixel[0] = prefix[3];
    }
}

ElementPicture DecodeRgbPlanes(std::span<const uint8_t> data, const IcnsElementType& type) {
  ElementPicture picture(OpaqueBlack(type.width, type.height));
  size_t prefix = size_t(type.prefixBytes);
  if (data.size() < prefix) return picture;
  if (prefix == 4) FillWithPrefix(picture.bitmap, data.first(4));
  DecodeIcnsPlanes(data.subspan(prefix), kRgbPlanes, picture.bitmap);
  return picture;
}

ElementPicture DecodeArgbPlanes(std::span<const uint8_t> data, const IcnsElementType& type) {
  ElementPicture picture(TBitmap(type.width, type.height, PixelFormat::Bits32), true);
  DecodeIcnsPlanes(data.subspan(4), kArgbPlanes, picture.bitmap);
  return picture;
}

ElementPicture DecodePngElement(std::span<const uint8_t> data) {
  return ElementPicture(DecodePngRgba(data), true, {data.begin(), data.end()});
}

// A PNG element kept as its bytes, shaped as DecodePngElement would give it, from its header;
// nothing when the header is missing or names a picture the decoder refuses, which is then
// decoded to raise its error.
std::optional<ElementPicture> UndecodedPngElement(std::span<const uint8_t> data) {
  std::optional<PngHeader> header = ReadPngHeader(data);
  if (!header || header->width == 0 || header->height == 0) return std::nullopt;
  if (header->width > uint32_t(kMaxBitmapDimension) ||
      header->height > uint32_t(kMaxBitmapDimension) ||
      int64_t(header->width) * header->height * 4 > kMaxPngDecodeBytes)
    return std::nullopt;
  ElementPicture picture(TBitmap(0, 0, PixelFormat::Bits32), true, {data.begin(), data.end()});
  picture.shape = {32, int(header->width), int(header->height)};
  return picture;
}

bool MayHoldPng(IcnsElementForm form) {
  return form == IcnsElementForm::Compressed || form == IcnsElementForm::ArgbPlanes;
}

// PNG, ARGB planes or JPEG 2000; icp4-icp6 may also hold bare RGB planes.
ElementPicture DecodeCompressed(std::span<const uint8_t> data, const IcnsElementType& type) {
  if (HasPngSignature(data)) return DecodePngElement(data);
  if (StartsWith(data, "ARGB")) return DecodeArgbPlanes(data, type);
  if (type.name.starts_with("icp") && !HasJpeg2000Signature(data))
    return DecodeRgbPlanes(data, type);
  return ElementPicture(DecodeJpeg2000(data), true);
}

void DecodeIndexedElement(std::span<const uint8_t> data, const IcnsElementType& type,
                          FamilyParts& parts) {
  size_t pixelBytes = size_t(type.width) * type.height * type.depth / 8;
  size_t expected = type.depth == 1 ? 2 * pixelBytes : pixelBytes;
  if (data.size() != expected) return;
  ElementPicture picture(DecodeMacIndexed(data, type.width, type.height, type.depth));
  if (type.depth == 1) {
    TBitmap mask = DecodeMacBitMask(data.subspan(pixelBytes), type.width, type.height);
    BlackenMasked(picture.bitmap, mask);
    parts.masks.push_back(std::move(mask));
  }
  parts.colors.push_back(std::move(picture));
}

void DecodeAlphaMask(std::span<const uint8_t> data, const IcnsElementType& type,
                     FamilyParts& parts) {
  if (data.size() != size_t(type.width) * type.height) return;
  TBitmap mask(type.width, type.height, PixelFormat::Bits8);
  for (int y = 0; y < type.height; ++y)
    std::memcpy(mask.ScanLine(y), data.data() + size_t(y) * type.width, size_t(type.width));
  parts.masks.push_back(std::move(mask));
}

void DecodeElement(std::span<const uint8_t> data, const IcnsElementType& type, FamilyParts& parts) {
  if (!parts.decodePng && MayHoldPng(type.form) && HasPngSignature(data)) {
    if (auto picture = UndecodedPngElement(data)) {
      parts.colors.push_back(std::move(*picture));
      return;
    }
  }
  switch (type.form) {
    case IcnsElementForm::Compressed:
      parts.colors.push_back(DecodeCompressed(data, type));
      break;
    case IcnsElementForm::ArgbPlanes:
      if (HasPngSignature(data))
        parts.colors.push_back(DecodePngElement(data));
      else if (StartsWith(data, "ARGB"))
        parts.colors.push_back(DecodeArgbPlanes(data, type));
      else
        throw EInvalidGraphic("ICNS element is not valid");
      break;
    case IcnsElementForm::RgbPlanes:
      parts.colors.push_back(DecodeRgbPlanes(data, type));
      break;
    case IcnsElementForm::Indexed:
      DecodeIndexedElement(data, type, parts);
      break;
    case IcnsElementForm::AlphaMask:
      DecodeAlphaMask(data, type, parts);
      break;
    case IcnsElementForm::Contents:
      break;
  }
}

FamilyParts ReadElements(std::span<const uint8_t> family, bool decodePng) {
  FamilyParts parts;
  parts.decodePng = decodePng;
  if (family.size() < kElementHeader) return parts;
  size_t end = std::min<size_t>(ReadU32BE(&family[4]), family.size());
  size_t position = kElementHeader;
  while (position < end && family.size() - position >= kElementHeader) {
    std::string_view tag(reinterpret_cast<const char*>(&family[position]), 4);
    uint32_t length = ReadU32BE(&family[position + 4]);
    if (length < kElementHeader || length > family.size() - position) break;
    if (auto type = FindIcnsElementType(tag))
      DecodeElement(family.subspan(position + kElementHeader, length - kElementHeader), *type,
                    parts);
    position += length;
  }
  return parts;
}

const TBitmap* FirstMask(const std::vector<TBitmap>& masks, const TBitmap& color,
                         PixelFormat format) {
  for (const TBitmap& mask : masks)
    if (mask.Format() == format && SameSize(mask, color)) return &mask;
  return nullptr;
}

// 1-bit masks for the indexed pictures; a picture of the size of the last one that took a mask
// gets none.
void PairIndexed(std::vector<ElementPicture>& colors, const std::vector<TBitmap>& masks) {
  const TBitmap* lastPaired = nullptr;
  for (ElementPicture& picture : colors) {
    if (picture.bitmap.Format() == PixelFormat::Bits32) continue;
    if (lastPaired && SameSize(*lastPaired, picture.bitmap)) continue;
    const TBitmap* mask = FirstMask(masks, picture.bitmap, PixelFormat::Bits1);
    if (!mask) continue;
    BlackenMasked(picture.bitmap, *mask);
    picture.bitMask = *mask;
    lastPaired = &picture.bitmap;
  }
}

void ApplyAlphaMask(TBitmap& bitmap, const TBitmap& mask) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    const uint8_t* alpha = mask.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      uint8_t* pixel = row + 4 * x;
      pixel[3] = alpha[x];
      bool clearWhite = pixel[3] == 0 && pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
      if (clearWhite) pixel[0] = pixel[1] = pixel[2] = 0;
    }
  }
}

// 8-bit masks as the alpha of the 32-bit pictures that carry none of their own; a picture of the
// width of the last one that took a mask keeps its own.
void PairAlpha(std::vector<ElementPicture>& colors, const std::vector<TBitmap>& masks) {
  int lastWidth = -1;
  for (ElementPicture& picture : colors) {
    if (picture.bitmap.Format() != PixelFormat::Bits32 || picture.ownAlpha) continue;
    if (picture.bitmap.Width() == lastWidth) continue;
    const TBitmap* mask = FirstMask(masks, picture.bitmap, PixelFormat::Bits8);
    if (!mask) continue;
    ApplyAlphaMask(picture.bitmap, *mask);
    lastWidth = picture.bitmap.Width();
  }
}

std::vector<MacIconPicture> Arrange(FamilyParts parts) {
  auto byColor = [](const ElementPicture& a, const ElementPicture& b) {
    return ComesBefore(a.shape, b.shape);
  };
  std::stable_sort(parts.colors.begin(), parts.colors.end(), byColor);
  std::stable_sort(parts.masks.begin(), parts.masks.end(), [](const TBitmap& a, const TBitmap& b) {
    return ComesBefore(ShapeOf(a), ShapeOf(b));
  });
  PairIndexed(parts.colors, parts.masks);
  PairAlpha(parts.colors, parts.masks);
  std::vector<MacIconPicture> pictures;
  for (bool trueColor : {false, true})
    for (ElementPicture& picture : parts.colors)
      if ((picture.bitmap.Format() == PixelFormat::Bits32) == trueColor)
        pictures.push_back(
            {std::move(picture.bitmap), std::move(picture.bitMask), std::move(picture.png)});
  return pictures;
}

}  // namespace

TBitmap DecodeMacIndexed(std::span<const uint8_t> data, int width, int height, int depth) {
  TBitmap bitmap(width, height, FormatOfBits(depth));
  if (depth == 8) bitmap.SetPalette(MacPalette256());
  if (depth == 4) bitmap.SetPalette(MacPalette16());
  if (depth == 1) bitmap.SetPalette({RGBQuad{255, 255, 255, 0}, RGBQuad{}});
  size_t rowBits = size_t(width) * depth;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      size_t bit = y * rowBits + size_t(x) * depth;
      if (bit / 8 >= data.size()) return bitmap;
      int shift = 8 - depth - int(bit % 8);
      bitmap.SetIndex(x, y, (data[bit / 8] >> shift) & ((1 << depth) - 1));
    }
  return bitmap;
}

TBitmap DecodeMacBitMask(std::span<const uint8_t> data, int width, int height) {
  TBitmap mask = DecodeMacIndexed(data, width, height, 1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) mask.SetIndex(x, y, 1 - mask.GetIndex(x, y));
  mask.SetPalette(StandardPalette(1));
  return mask;
}

void BlackenMasked(TBitmap& color, const TBitmap& mask) {
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x)
      if (mask.GetIndex(x, y) != 0) color.SetPixel(x, y, clBlack);
}

void TakeBitMasks(std::vector<MacIconPicture>& pictures, const std::vector<TBitmap>& masks) {
  for (MacIconPicture& picture : pictures) {
    if (picture.mask || picture.color.Format() == PixelFormat::Bits32) continue;
    const TBitmap* mask = FirstMask(masks, picture.color, PixelFormat::Bits1);
    if (!mask) continue;
    BlackenMasked(picture.color, *mask);
    picture.mask = *mask;
  }
}

// The element types that hold a whole family of their own: the same icon in another state
// (dropping, opened, rolled over, selected, as a tile).
bool IsVariantFamily(std::span<const uint8_t> type) {
  static const char* const kVariants[] = {"drop", "odrp", "open", "over", "tile", "slct", "sbtp"};
  for (const char* variant : kVariants)
    if (std::memcmp(type.data(), variant, 4) == 0) return true;
  return false;
}

// The pictures of the first variant family that gives any, for a family that holds nothing but
// variants. A variant's elements follow its 8-byte header directly.
std::vector<MacIconPicture> ReadFirstVariant(std::span<const uint8_t> family) {
  for (size_t offset = 8; offset + 8 <= family.size();) {
    uint32_t length = ReadU32BE(&family[offset + 4]);
    if (length < 8 || length > family.size() - offset) break;
    if (IsVariantFamily(family.subspan(offset, 4))) {
      std::vector<uint8_t> variant(family.begin() + offset, family.begin() + offset + length);
      std::memcpy(variant.data(), "icns", 4);
      auto pictures = Arrange(ReadElements(variant, true));
      if (!pictures.empty()) return pictures;
    }
    offset += length;
  }
  return {};
}

namespace {

std::vector<MacIconPicture> ReadFamily(std::span<const uint8_t> family, bool decodePng) {
  std::vector<MacIconPicture> pictures = Arrange(ReadElements(family, decodePng));
  return pictures.empty() ? ReadFirstVariant(family) : pictures;
}

}  // namespace

std::vector<MacIconPicture> ReadIcnsFamily(std::span<const uint8_t> family) {
  return ReadFamily(family, true);
}

std::vector<MacIconPicture> ReadIcnsFamilyUndecodedPng(std::span<const uint8_t> family) {
  return ReadFamily(family, false);
}

std::vector<MacIconPicture> ReadIcnsElements(Stream& stream) {
  uint8_t lengthBytes[4];
  stream.ReadBuffer(lengthBytes, 4);
  uint32_t total = ReadU32BE(lengthBytes);
  int64_t available = stream.Remaining() + 8;
  size_t size = size_t(std::clamp<int64_t>(int64_t(total), 8, std::max<int64_t>(available, 8)));
  std::vector<uint8_t> family(size);
  std::memcpy(family.data(), "icns", 4);
  WriteU32BE(&family[4], total);
  stream.ReadBuffer(family.data() + 8, size - 8);
  return ReadIcnsFamily(family);
}

}  // namespace varnel

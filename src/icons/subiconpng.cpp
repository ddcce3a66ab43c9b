// TSubIcon: conversion between the DIB form and the PNG form of an image.

#include <algorithm>
#include <array>
#include <map>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/canvas.h"
#include "graphics/pngcodec.h"
#include "icons/dibheader.h"
#include "icons/maskbits.h"
#include "icons/pngpicture.h"
#include "icons/subicon.h"
#include "icons/subiconlist.h"

namespace varnel {

namespace {

constexpr int kUnpackAlphaThreshold = 80;
constexpr int kAssignAlphaThreshold = 96;

// Entry bit counts that ask for a 32-bit PNG to be taken over with its alpha unchanged.
bool TakesAlphaUnchanged(uint16_t bitCount) {
  return bitCount == 0xFFFE || bitCount == 0xFFFB || bitCount == 0xFFF7;
}

RGBQuad Quad(uint32_t rrggbb) {
  return {uint8_t(rrggbb), uint8_t(rrggbb >> 8), uint8_t(rrggbb >> 16), 0};
}

std::vector<RGBQuad> QuadsOf(std::initializer_list<uint32_t> colors) {
  std::vector<RGBQuad> quads;
  for (uint32_t c : colors) quads.push_back(Quad(c));
  return quads;
}

std::vector<RGBQuad> BuildFixedPalette256() {
  std::vector<RGBQuad> palette =
      QuadsOf({0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
               0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF});
  for (uint8_t g : {0x09, 0x12, 0x1F, 0x2C, 0x39, 0x45, 0x52, 0x5F, 0x6C, 0x78,
                    0x85, 0x92, 0x9F, 0xAB, 0xB8, 0xC5, 0xD2, 0xDE, 0xEB, 0xF8})
    palette.push_back({g, g, g, 0});
  for (RGBQuad q : QuadsOf({0xFFFBF0, 0xA0A0A4, 0xC0DCC0, 0xA6CAF0})) palette.push_back(q);
  // Eighteen hue families; a weight per channel in thirds: 3 full, 2 two thirds, 1 a third.
  static const int kFamilies[18][3] = {{3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {3, 3, 0}, {2, 3, 0},
                                       {1, 3, 0}, {0, 3, 0}, {0, 3, 1}, {0, 3, 2}, {0, 3, 3},
                                       {0, 2, 3}, {0, 1, 3}, {0, 0, 3}, {1, 0, 3}, {2, 0, 3},
                                       {3, 0, 3}, {3, 0, 2}, {3, 0, 1}};
  static const uint8_t kShades[4][7] = {{0, 0, 0, 0, 0, 0, 0},
                                        {0x14, 0x1E, 0x28, 0x32, 0x3C, 0x46, 0x55},
                                        {0x2A, 0x3F, 0x54, 0x69, 0x7E, 0x93, 0xAA},
                                        {0x3E, 0x5D, 0x7C, 0x9B, 0xBA, 0xD9, 0xF0}};
  static const uint8_t kTints[4][5] = {{0x24, 0x48, 0x6C, 0x90, 0xB4},
                                       {0x6D, 0x85, 0x9D, 0xB5, 0xCD},
                                       {0xB6, 0xC2, 0xCE, 0xDA, 0xE6},
                                       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  for (const auto& weights : kFamilies) {
    for (int k = 0; k < 7; ++k)
      palette.push_back(
          {kShades[weights[2]][k], kShades[weights[1]][k], kShades[weights[0]][k], 0});
    for (int t = 0; t < 5; ++t)
      palette.push_back({kTints[weights[2]][t], kTints[weights[1]][t], kTints[weights[0]][t], 0});
  }
  return palette;
}

bool AlphaIsOnlyOpaqueOrClear(const TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (row[4 * x + 3] != 0 && row[4 * x + 3] != 255) return false;
  }
  return true;
}

// An 8-bit copy whose palette is black, white, then every other colour in order of appearance;
// nothing when that takes more than 256 entries.
std::optional<TBitmap> WithExactPalette(const TBitmap& source) {
  std::vector<RGBQuad> palette = {Quad(0x000000), Quad(0xFFFFFF)};
  std::map<TColor, int> indexOf = {{clBlack, 0}, {clWhite, 1}};
  TBitmap result(source.Width(), source.Height(), PixelFormat::Bits8);
  for (int y = 0; y < source.Height(); ++y) {
    uint8_t* row = result.ScanLine(y);
    for (int x = 0; x < source.Width(); ++x) {
      TColor color = source.GetPixel(x, y);
      auto [it, added] = indexOf.emplace(color, int(palette.size()));
      if (added) {
        if (palette.size() == 256) return std::nullopt;
        palette.push_back(RGBQuad::FromColor(color));
      }
      row[x] = uint8_t(it->second);
    }
  }
  result.SetPalette(std::move(palette));
  return result;
}

// True when every pixel of bitmap has a colour of palette.
bool ColorsWithin(const TBitmap& bitmap, const std::vector<RGBQuad>& palette) {
  std::vector<TColor> colors;
  for (const RGBQuad& entry : palette) colors.push_back(entry.ToColor());
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (std::find(colors.begin(), colors.end(), bitmap.GetPixel(x, y)) == colors.end())
        return false;
  return true;
}

// A copy in an indexed format with a standard palette, when that loses no colour.
std::optional<TBitmap> IndexedWithoutLoss(const TBitmap& natural, PixelFormat format, int bits) {
  if (natural.Format() == format) return natural;
  std::vector<RGBQuad> palette = StandardPalette(bits);
  if (!ColorsWithin(natural, palette)) return std::nullopt;
  return ConvertFormat(natural, format, &palette);
}

// The colour bitmap of an unpacked PNG in the depth its directory entry asks for. A true-colour
// PNG keeps its own format (only the 24-bit request drops an alpha of two levels): many icon files
// give 256-pixel RGBA PNG images a smaller depth in their directory, and reducing them would
// lose colours and alpha. Palette PNGs move to the asked depth when no colour is lost.
TBitmap ColorForDepth(const TBitmap& natural, uint16_t bitCount) {
  bool indexed = natural.BitsPerPixel() <= 8;
  std::optional<TBitmap> converted;
  switch (bitCount) {
    case 1:
      if (indexed) converted = IndexedWithoutLoss(natural, PixelFormat::Bits1, 1);
      break;
    case 4:
      if (indexed) converted = IndexedWithoutLoss(natural, PixelFormat::Bits4, 4);
      break;
    case 8:
      if (indexed && natural.Format() != PixelFormat::Bits8) converted = WithExactPalette(natural);
      break;
    case 24:
      if (natural.Format() == PixelFormat::Bits32 && AlphaIsOnlyOpaqueOrClear(natural))
        converted = ConvertFormat(natural, PixelFormat::Bits24);
      break;
  }
  return converted ? std::move(*converted) : natural;
}

// Transparent pixels of a masked (non-alpha) image are black in the colour bitmap, so that
// drawing them leaves the background as it is instead of inverting it.
void ClearMaskedPixels(TBitmap& color, const TBitmap& mask) {
  if (color.Format() == PixelFormat::Bits32) return;
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x)
      if (MaskBitSet(mask, x, y)) color.SetPixel(x, y, clBlack);
}

// The index that becomes transparent in an 8-bit palette image: one no pixel uses, or a new one
// when the palette is short; nothing when all 256 are in use.
std::optional<int> FreePaletteIndex(const TBitmap& bitmap, std::vector<RGBQuad>& palette) {
  std::array<bool, 256> used{};
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) used[row[x]] = true;
  }
  for (size_t i = 0; i < palette.size(); ++i)
    if (!used[i]) return int(i);
  if (palette.size() >= 256) return std::nullopt;
  palette.push_back({});
  return int(palette.size() - 1);
}

// Moves palette entry `from` to index 0, shifting the entries before it up by one.
void MoveEntryToFront(TBitmap& bitmap, std::vector<RGBQuad>& palette, int from) {
  std::rotate(palette.begin(), palette.begin() + from, palette.begin() + from + 1);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (row[x] < from) ++row[x];
  }
}

// The smallest colour value that no other palette entry has.
TColor UnusedColor(const std::vector<RGBQuad>& palette) {
  std::vector<TColor> taken;
  for (size_t i = 1; i < palette.size(); ++i) taken.push_back(palette[i].ToColor());
  std::sort(taken.begin(), taken.end());
  TColor candidate = 0;
  for (TColor c : taken) {
    if (c == candidate) ++candidate;
    if (c > candidate) break;
  }
  return candidate;
}

}  // namespace

const std::vector<RGBQuad>& FixedPalette256() {
  static const std::vector<RGBQuad> palette = BuildFixedPalette256();
  return palette;
}

std::optional<std::vector<uint8_t>> TSubIcon::PngOfIndexedImage(TBitmap color,
                                                                const TBitmap& mask) const {
  // 1- and 4-bit images grow to 8 bits with their own palette, every colour kept.
  if (color.Format() != PixelFormat::Bits8) {
    std::vector<RGBQuad> own = color.Palette();
    if (own.empty()) own = StandardPalette(color.BitsPerPixel());
    color = ConvertFormat(color, PixelFormat::Bits8, &own);
  }
  std::vector<RGBQuad> palette = color.Palette();
  if (palette.empty()) palette.push_back({});
  std::optional<int> transparent = FreePaletteIndex(color, palette);
  // Every index in use: no entry can stand for transparency without losing a colour.
  if (!transparent) return std::nullopt;
  MoveEntryToFront(color, palette, *transparent);
  palette[0] = RGBQuad::FromColor(UnusedColor(palette));
  for (int y = 0; y < color.Height(); ++y) {
    uint8_t* row = color.ScanLine(y);
    for (int x = 0; x < color.Width(); ++x)
      if (MaskBitSet(mask, x, y)) row[x] = 0;
  }
  color.SetPalette(std::move(palette));
  return EncodePng(color, 0);
}

std::vector<uint8_t> TSubIcon::SaveToPng() const {
  TBitmap color, mask;
  GetBitmaps(nullptr, &color, clNone, &mask);
  int bits = BitsPerPixel();
  if (bits == 32 && color.Format() == PixelFormat::Bits32) {
    // Old-style 32-bit images carry no alpha at all and rely on their mask.
    if (AllAlphaZero(color)) AlphaFromMask(color, mask);
    return EncodePng(color);
  }
  bool anyMasked = false;
  for (int y = 0; y < mask.Height() && !anyMasked; ++y)
    for (int x = 0; x < mask.Width() && !anyMasked; ++x) anyMasked = MaskBitSet(mask, x, y);
  if (!anyMasked) return EncodePng(color);
  if (color.BitsPerPixel() <= 8)
    if (std::optional<std::vector<uint8_t>> png = PngOfIndexedImage(color, mask)) return *png;
  TBitmap rgba = ConvertFormat(color, PixelFormat::Bits32);
  AlphaFromMask(rgba, mask);
  return EncodePng(rgba);
}

void TSubIcon::PackPng(TSubIcon& dest) const {
  if (IsPng() && &dest == this) {
    dest.packed_ = true;
    return;
  }
  std::vector<uint8_t> png = SaveToPng();
  if (&dest != this) {
    dest.entry_ = entry_;
    dest.hotSpot_ = hotSpot_;
  }
  dest.ResetData(std::move(png));
  dest.packed_ = true;
}

namespace {

struct PngBitmaps {
  TBitmap color;
  TBitmap mask;
};

// The colour bitmap, in the depth the entry asks for, and the mask that a PNG image unpacks to
// (unless the entry asks for the alpha unchanged).
PngBitmaps UnpackedBitmaps(std::span<const uint8_t> png, const TBitmap& natural,
                           uint16_t bitCount) {
  // A 32-bit natural decode is already what the RGBA decode gives.
  TBitmap mask =
      MaskFromAlphaBelow(natural.Format() == PixelFormat::Bits32 ? natural : DecodePngRgba(png),
                         kUnpackAlphaThreshold);
  TBitmap color = ColorForDepth(natural, bitCount);
  ClearMaskedPixels(color, mask);
  return {std::move(color), std::move(mask)};
}

}  // namespace

void TSubIcon::UnpackPng(TSubIcon& dest) const {
  ByteBlock png = data_;
  TIconDirEntry entry = entry_;
  uint32_t hotSpot = hotSpot_;
  if (!IsValidIconImageData(png)) throw EInvalidImage();
  TBitmap natural = DecodePng(png);
  if (&dest != this) {
    dest.entry_ = entry;
    dest.cachedBits_ = 0;
  }
  dest.hotSpot_ = hotSpot;
  if (natural.Format() == PixelFormat::Bits32 && TakesAlphaUnchanged(entry.wBitCount)) {
    dest.AssignFrom32BitBitmap(natural);
    dest.packed_ = false;
    return;
  }
  PngBitmaps bitmaps = UnpackedBitmaps(png, natural, entry.wBitCount);
  TSubIconList built;
  built.AddFromBitmap(bitmaps.color, &bitmaps.mask, 0);
  const TSubIcon& image = *built.Items(0);
  dest.entry_ = image.entry_;
  dest.ResetData(image.data_);
  dest.packed_ = false;
}

void TSubIcon::GetPngBitmaps(TBitmap* composite, TBitmap* image, TColor backColor,
                             TBitmap* mask) const {
  if (!IsDrawable()) throw EInvalidImage();
  std::optional<TBitmap> natural;
  try {
    natural = DecodePng(data_);
  } catch (const Exception&) {
    // Pixel data the decoder rejects: blank bitmaps of the size the header gives.
    int width = ImageWidth(), height = ImageHeight();
    if (image) *image = BlankBitmap(width, height, 32, backColor);
    if (composite) *composite = BlankBitmap(width, height, 32, backColor);
    if (mask) *mask = BlankBitmap(width, height, 1, backColor);
    return;
  }
  if (natural->Format() == PixelFormat::Bits32 && TakesAlphaUnchanged(entry_.wBitCount)) {
    TSubIcon unpacked;
    UnpackPng(unpacked);
    return unpacked.GetBitmaps(composite, image, backColor, mask);
  }
  // The bitmaps the unpacked DIB would give, without building it.
  PngBitmaps bitmaps = UnpackedBitmaps(data_, *natural, entry_.wBitCount);
  int bits = bitmaps.color.BitsPerPixel();
  DeliverBitmaps(std::move(bitmaps.color), std::move(bitmaps.mask), bits, composite, image,
                 backColor, mask);
}

void TSubIcon::UpdatePngEntry() {
  packed_ = true;
  if (TakesAlphaUnchanged(entry_.wBitCount)) {
    // The one request that the unpacked image's own entry could not repeat: unpacked now.
    UnpackPng(*this);
    packed_ = true;
    return;
  }
  // The PNG stays as it was read; its entry describes the image it unpacks to.
  int depth = UnpackedPngDepth();
  entry_.bReserved = 0;
  entry_.wPlanes = 1;
  entry_.wBitCount = uint16_t(depth);
  SetEntryShape(depth);
}

int TSubIcon::UnpackedPngDepth() const {
  std::optional<PixelFormat> natural = NaturalPngFormat(data_);
  if (!natural) throw EInvalidImage();
  int naturalBits = BitsOfFormat(*natural);
  uint16_t asked = entry_.wBitCount;
  bool indexed = naturalBits <= 8;
  bool trueColor32 = *natural == PixelFormat::Bits32;
  // ColorForDepth reduces these only when no colour (or alpha level) is lost: that takes the
  // pixels. A PNG whose pixels do not decode keeps its natural depth.
  bool dependsOnPixels = (indexed && asked == 1 && naturalBits != 1) ||
                         (indexed && asked == 4 && naturalBits != 4) ||
                         (trueColor32 && asked == 24);
  if (dependsOnPixels) {
    try {
      // The unpacked DIB takes the depth of its colour bitmap; the mask is not needed for it.
      return ColorForDepth(DecodePng(data_), asked).BitsPerPixel();
    } catch (const Exception&) {
      return naturalBits;
    }
  }
  if (indexed && asked == 8) return 8;
  return naturalBits;
}

void TSubIcon::AssignFrom32BitBitmap(const TBitmap& source) {
  TBitmap bitmap =
      source.Format() == PixelFormat::Bits32 ? source : ConvertFormat(source, PixelFormat::Bits32);
  int w = bitmap.Width(), h = bitmap.Height();
  int64_t colorSize = int64_t(4) * w * h;
  int64_t maskRow = IconRowBytes(w, 1);
  std::vector<uint8_t> data(TBitmapInfoHeader::kSize + colorSize + maskRow * h);
  TBitmapInfoHeader header;
  header.biWidth = w;
  header.biHeight = 2 * h;
  header.biBitCount = 32;
  header.biSizeImage = uint32_t(colorSize);
  header.Encode(data.data());
  std::copy(bitmap.Bits().begin(), bitmap.Bits().end(), data.begin() + TBitmapInfoHeader::kSize);
  uint8_t* maskBits = data.data() + TBitmapInfoHeader::kSize + colorSize;
  for (int row = 0; row < h; ++row) {  // DIB rows run bottom-up
    const uint8_t* pixels = bitmap.ScanLine(h - 1 - row);
    for (int x = 0; x < w; ++x)
      if (pixels[4 * x + 3] < kAssignAlphaThreshold)
        maskBits[row * maskRow + (x >> 3)] |= uint8_t(0x80 >> (x & 7));
  }
  entry_ = {uint8_t(w), uint8_t(h), 0, 0, 1, 32, uint32_t(data.size())};
  ResetData(std::move(data));
  cachedBits_ = 32;
}

}  // namespace varnel

#include "icons/picturewriters.h"

#include "icons/rasterpictures.h"

#include <algorithm>
#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/jpegencoder.h"
#include "graphics/pngcodec.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

bool HasTransparentPixel(const TBitmap& mask) {
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      if (MaskBitSet(mask, x, y)) return true;
  return false;
}

bool InPalette(const TBitmap& bitmap, TColor color) {
  return std::any_of(bitmap.Palette().begin(), bitmap.Palette().end(),
                     [color](const RGBQuad& entry) { return entry.ToColor() == color; });
}

// A palette index no pixel uses (the palette grown when it is shorter than the depth allows);
// nothing when every index is in use.
std::optional<int> UnusedIndex(TBitmap& bitmap) {
  int capacity = 1 << bitmap.BitsPerPixel();
  std::vector<bool> used(size_t(capacity), false);
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) used[size_t(bitmap.GetIndex(x, y))] = true;
  for (int i = 0; i < capacity; ++i) {
    if (used[size_t(i)]) continue;
    if (size_t(i) >= bitmap.Palette().size()) {
      std::vector<RGBQuad> palette = bitmap.Palette();
      palette.resize(size_t(i) + 1);
      bitmap.SetPalette(std::move(palette));
    }
    return i;
  }
  return std::nullopt;
}

bool IsIndexed(const TBitmap& bitmap) {
  return bitmap.BitsPerPixel() >= 1 && bitmap.BitsPerPixel() <= 8;
}

}  // namespace

void SaveBitmapAsJpeg(const TBitmap& bitmap, int quality, const std::string& fileName) {
  try {
    WriteFileAtomic(fileName, EncodeJpeg(bitmap, quality));
  } catch (const Exception&) {
    WriteFileAtomic(fileName, EncodeJpeg(bitmap, kJpegRetryQuality));
  }
}

void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName) {
  WriteFileAtomic(fileName, EncodePng(bitmap));
}

TBitmap ImageToBitmapOnColor(const TSubIcon& image, TColor backColor) {
  TBitmap colors, mask;
  image.GetBitmaps(nullptr, &colors, clNone, &mask);
  auto composite = [&image, backColor] {
    TBitmap result;
    image.GetBitmaps(&result, nullptr, backColor, nullptr);
    return result;
  };
  if (backColor == clNone || !IsIndexed(colors) || InPalette(colors, backColor) ||
      !HasTransparentPixel(mask))
    return composite();
  // An image whose every palette index is in use has no entry to spare.
  auto entry = UnusedIndex(colors);
  if (!entry) return composite();
  std::vector<RGBQuad> palette = colors.Palette();
  palette[size_t(*entry)] = RGBQuad::FromColor(backColor);
  colors.SetPalette(std::move(palette));
  for (int y = 0; y < colors.Height(); ++y)
    for (int x = 0; x < colors.Width(); ++x)
      if (MaskBitSet(mask, x, y)) colors.SetIndex(x, y, *entry);
  return colors;
}

const TSubIcon* ExportedImage(const TAdvancedIcon& icon, int index) {
  if (index < 0) index = icon.BestImageIndex(255, 255, 0);
  return icon.Images()[index];
}

std::string ExportVariableName(const std::string& fileName) {
  return std::filesystem::path(fileName).stem().string();
}

void ExportXpm(const TAdvancedIcon& icon, int index, int alphaThreshold,
               const std::string& fileName) {
  const TSubIcon* image = ExportedImage(icon, index);
  if (!image) throw Exception("No image to export");
  WriteXpmFile(*image, alphaThreshold, fileName);
}

void ExportXbm(const TAdvancedIcon& icon, int index, uint32_t hotSpot,
               const std::string& fileName) {
  const TSubIcon* image = ExportedImage(icon, index);
  if (!image) throw Exception("No image to export");
  WriteXbmFile(*image, int32_t(hotSpot), fileName);
}

}  // namespace varnel

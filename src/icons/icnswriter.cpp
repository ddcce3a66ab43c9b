#include "icons/icnswriter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"
#include "icons/icondrawing.h"

namespace varnel {

namespace {

struct ElementSize {
  std::string_view type;
  int size;
};

constexpr std::array kSingleDensity = {ElementSize{"icp4", 16},  ElementSize{"icp5", 32},
                                       ElementSize{"icp6", 64},  ElementSize{"ic07", 128},
                                       ElementSize{"ic08", 256}, ElementSize{"ic09", 512},
                                       ElementSize{"ic10", 1024}};
constexpr std::array kDoubleDensity = {ElementSize{"ic11", 32}, ElementSize{"ic12", 64},
                                       ElementSize{"ic13", 256}, ElementSize{"ic14", 512}};

struct Element {
  std::string_view type;
  std::vector<uint8_t> data;
};

// The image with its transparency as a 32-bit bitmap with alpha.
TBitmap RgbaOf(const TSubIcon& image) {
  TBitmap rgba(image.ImageWidth(), image.ImageHeight(), PixelFormat::Bits32);
  DrawMasked(rgba, 0, 0, clNone, image);
  return rgba;
}

bool HasSize(const TSubIcon& image, int size) {
  return image.ImageWidth() == size && image.ImageHeight() == size;
}

std::vector<uint8_t> PngForSize(const TAdvancedIcon& icon, int size) {
  const TSubIcon& best = *icon.GetBestImage(size, size, 32);
  // Stored PNG data that does not decode is written anew, from what the image draws.
  if (HasSize(best, size) && best.IsPng() && PngDecodes(best.Data())) return best.Data().ToVector();
  TBitmap rgba = RgbaOf(best);
  if (HasSize(best, size)) return EncodePng(rgba);
  TBitmap scaled(size, size, PixelFormat::Bits32);
  ResampleAlpha(rgba, scaled, rfLanczos3);
  return EncodePng(scaled);
}

bool HasExactImage(const TAdvancedIcon& icon, int size) {
  return std::any_of(icon.Images().begin(), icon.Images().end(),
                     [&](const auto& image) { return HasSize(*image, size); });
}

int LargestDimension(const TAdvancedIcon& icon) {
  int largest = 0;
  for (const auto& image : icon.Images())
    largest = std::max({largest, image->ImageWidth(), image->ImageHeight()});
  return largest;
}

std::vector<Element> MakeElements(const TAdvancedIcon& icon) {
  std::vector<Element> elements;
  int largest = LargestDimension(icon);
  for (const ElementSize& element : kSingleDensity)
    if (element.size <= std::max(largest, kSingleDensity[0].size))
      elements.push_back({element.type, PngForSize(icon, element.size)});
  for (const ElementSize& element : kDoubleDensity)
    if (HasExactImage(icon, element.size))
      elements.push_back({element.type, PngForSize(icon, element.size)});
  return elements;
}

void AppendHeader(std::vector<uint8_t>& out, std::string_view type, size_t length) {
  out.insert(out.end(), type.begin(), type.end());
  uint8_t bytes[4];
  WriteU32BE(bytes, uint32_t(length));
  out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

std::vector<uint8_t> EncodeIcns(const TAdvancedIcon& icon) {
  if (icon.Images().Count() == 0) throw Exception("No images in icon");
  std::vector<Element> elements = MakeElements(icon);
  std::vector<uint8_t> contents;
  size_t total = 8 + 8 + 8 * elements.size();
  for (const Element& element : elements) {
    AppendHeader(contents, element.type, 8 + element.data.size());
    total += 8 + element.data.size();
  }
  if (total > UINT32_MAX) throw Exception("Icon is too large for an ICNS file");
  std::vector<uint8_t> out;
  out.reserve(total);
  AppendHeader(out, "icns", total);
  AppendHeader(out, "TOC ", 8 + contents.size());
  out.insert(out.end(), contents.begin(), contents.end());
  for (const Element& element : elements) {
    AppendHeader(out, element.type, 8 + element.data.size());
    out.insert(out.end(), element.data.begin(), element.data.end());
  }
  return out;
}

void SaveIconAsIcns(const TAdvancedIcon& icon, const std::string& path) {
  WriteFileAtomic(path, EncodeIcns(icon));
}

}  // namespace varnel

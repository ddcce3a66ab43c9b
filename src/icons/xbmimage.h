#pragma once
// TXBMImage: a 1-bit picture read from and written as an X bitmap (XBM, C source), with a hot
// spot and a mask kept in a companion file named after the picture's file plus ".mask".

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "graphics/bitmap.h"

namespace varnel {

class TSubIcon;
class TSubIconList;

class TXBMImage : public TBitmap {
 public:
  TXBMImage() : TBitmap(0, 0, PixelFormat::Bits1) {}

  std::string VarName;
  int32_t HotSpotX = -1;  // -1: no hot spot
  int32_t HotSpotY = -1;
  // Same size as the picture; white = transparent.
  std::optional<TBitmap> MaskBitmap;

  // Reads fileName and, when it exists, fileName + ".mask" as the mask; pixels under a
  // transparent mask pixel are inverted. Raises EInvalidGraphic "Zero file" for an empty file,
  // "Invalid XPM image data, err. 4" for a size out of range and "... err. 5" for more bytes
  // than the picture holds.
  void LoadFromFile(const std::string& fileName);
  // Reads one XBM text (no mask): picture, name and hot spot.
  void LoadFromBytes(std::span<const uint8_t> bytes);
  // Writes fileName, and fileName + ".mask" when the mask has a transparent pixel (a mask file
  // left from before is removed otherwise). Each file replaces the old one only when complete.
  void SaveToFile(const std::string& fileName) const;
  // The XBM text of the picture, or with mask of the mask, under the given array name.
  std::string SourceText(const TBitmap& picture, const std::string& arrayName) const;

  void Assign(const TXBMImage& source) { *this = source; }
  // The image's colour drawn into 1 bit, its mask, its hot spot (x low word, y high word).
  void Assign(const TSubIcon& source);
  // Appends one image of the picture and its mask with the hot spot (0 when none).
  void AddToIcon(TSubIconList& images) const;
};

}  // namespace varnel

#pragma once
// The element types of a Mac icon family (ICNS) this system decodes, with the form and size of
// the picture each holds.

#include <cstdint>
#include <optional>
#include <string_view>

namespace varnel {

enum class IcnsElementForm {
  Compressed,  // PNG or JPEG 2000 (also the ARGB planes and, for icp4-icp6, RGB planes)
  RgbPlanes,   // three compressed planes: red, green, blue
  ArgbPlanes,  // "ARGB" and four compressed planes: alpha, red, green, blue (or PNG)
  Indexed,     // uncompressed 1-, 4- or 8-bit pixels (1 bit: image then mask)
  AlphaMask,   // uncompressed 8-bit alpha values
  Contents,    // the table of contents, skipped
};

struct IcnsElementType {
  std::string_view name;  // as stored: lower case except the types that differ only by case
  IcnsElementForm form;
  int width;
  int height;
  int depth;            // bits of Indexed pixels; 0 for the other forms
  int prefixBytes = 0;  // bytes before the RGB planes (it32)
};

// The type of a 4-character element tag: the exact tag first (icsB and SB24 differ from icsb and
// sb24 only by case), else the tag lower-cased. Nothing for types not decoded.
std::optional<IcnsElementType> FindIcnsElementType(std::string_view tag);

}  // namespace varnel

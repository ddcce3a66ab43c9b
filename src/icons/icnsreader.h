#pragma once
// Reading the pictures of a Mac icon family (ICNS): every element decoded, the pictures ordered
// by pixel format and size, and colour pictures paired with the masks stored beside them.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap.h"

namespace varnel {

// One picture of a Mac icon.
struct MacIconPicture {
  // 32-bit with its alpha, or 8-, 4- or 1-bit with a Mac palette.
  TBitmap color;
  // 1-bit, a set bit transparent; only ever beside an indexed colour bitmap.
  std::optional<TBitmap> mask;
  // The PNG element the picture was decoded from, kept so that its bytes need not be re-encoded.
  std::vector<uint8_t> png;

  friend bool operator==(const MacIconPicture&, const MacIconPicture&) = default;
};

// The pictures of the icon family whose elements follow at the stream position (just after the
// "icns" magic): the indexed pictures first, then the 32-bit ones. Elements of unknown types
// are passed over by their length; a length below 8 or past the end of the stream ends the
// reading. PNG, JPEG 2000 and ARGB data that does not decode raises EInvalidGraphic.
std::vector<MacIconPicture> ReadIcnsElements(Stream& stream);
// The same for a whole family in memory, starting at its magic.
std::vector<MacIconPicture> ReadIcnsFamily(std::span<const uint8_t> family);
// ReadIcnsFamily for a caller that draws one picture: the pictures come in the same order, but
// each PNG element is left undecoded, its bytes in png and its colour an empty 32-bit bitmap.
// A damaged PNG element is therefore not noticed here, only when its bytes are decoded.
std::vector<MacIconPicture> ReadIcnsFamilyUndecodedPng(std::span<const uint8_t> family);

// Pairs each 4- and 8-bit colour picture with the first 1-bit mask of its size (masked pixels
// become black). Used for the pictures of a resource fork.
void TakeBitMasks(std::vector<MacIconPicture>& pictures, const std::vector<TBitmap>& masks);

// The masked pixels of an indexed picture turned black.
void BlackenMasked(TBitmap& color, const TBitmap& mask);

// Decodes uncompressed 1-, 4- or 8-bit pixels of width x height, top row first, into a bitmap of
// that depth with the Mac palette of the depth (for 1 bit a set bit is black).
TBitmap DecodeMacIndexed(std::span<const uint8_t> data, int width, int height, int depth);
// A 1-bit Mac mask (a set bit opaque) as a 1-bit bitmap whose set bits are transparent.
TBitmap DecodeMacBitMask(std::span<const uint8_t> data, int width, int height);

}  // namespace varnel

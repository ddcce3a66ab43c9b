#pragma once
// The compact signature of an icon's picture that the similar-icon search compares: the icon's
// largest image, cut to the box its visible pixels fill, squared and averaged onto small grids
// of coverage, lightness and colour. Icons that are one picture drawn at other sizes, depths or
// paddings get signatures a small distance apart.

#include <array>
#include <cstdint>
#include <optional>

#include "icons/advancedicon.h"

namespace varnel {

// Bytes in a signature: its 70 features, padded with zeros to a multiple of 16 so that the
// distance runs over whole vector registers.
inline constexpr int kSignatureBytes = 80;

struct IconSignature {
  alignas(16) std::array<uint8_t, kSignatureBytes> features{};
  // The image the signature was taken from.
  int width = 0;
  int height = 0;
  int bits = 0;
};

// The image an icon's signature is taken from: its largest, the deepest of equal ones; null for
// an icon without image data.
const TSubIcon* SignatureImage(const TAdvancedIcon& icon);
// The signature of an image; nothing when it cannot be drawn or has no visible pixel.
std::optional<IconSignature> MakeImageSignature(const TSubIcon& image);
// The signature of the icon's signature image.
std::optional<IconSignature> MakeIconSignature(const TAdvancedIcon& icon);

// The sum of the differences of two signatures' features: 0 for the same picture, up to
// 255 * kSignatureBytes.
int SignatureDistance(const IconSignature& a, const IconSignature& b);
// The same when it is at most bound; some value above bound otherwise (the sum is cut short
// once half the features exceed it).
int SignatureDistanceWithin(const IconSignature& a, const IconSignature& b, int bound);

}  // namespace varnel

#pragma once
// JPEG 2000 decoding through OpenJPEG: JP2 files (with their box structure) and bare codestreams.

#include <cstdint>
#include <span>

#include "graphics/bitmap.h"

namespace varnel {

// The most bytes a decoded picture may take at 4 bytes a pixel (256 MiB): a header that claims
// more is refused before anything is decoded.
constexpr int64_t kMaxJpeg2000DecodeBytes = int64_t(256) << 20;

// True when bytes begin with the JP2 signature box or the codestream's start-of-codestream marker.
bool HasJpeg2000Signature(std::span<const uint8_t> bytes);

// Decodes to Bits32 with alpha in the fourth byte: one component is grey, two grey and alpha,
// three RGB (opaque), four RGBA. Samples of other precisions are scaled to 8 bits; subsampled
// components are read at their nearest sample. Damaged or truncated data, a picture without
// components, and one over kMaxBitmapDimension or kMaxJpeg2000DecodeBytes raise
// EInvalidGraphic("JPEG 2000 image is not valid").
TBitmap DecodeJpeg2000(std::span<const uint8_t> data);

}  // namespace varnel

#pragma once
// WebP decoding and encoding through libwebp, loaded with the first WebP picture: still pictures
// (lossy or lossless, with or without alpha) and the composed frames of animations, as 32-bit
// bitmaps.

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// The largest width or height a WebP picture may have (the format's own limit).
constexpr int kMaxWebpDimension = 16383;
// The most pixels all composed frames of an animation may hold together.
constexpr int64_t kMaxWebpAnimationPixels = int64_t(1) << 28;

// One frame of an animation composed onto the whole canvas, and how long it is shown.
struct WebpFrame {
  TBitmap picture;  // 32-bit with alpha
  int delayMs = 0;
};

// True when the bytes begin as a WebP file does ("RIFF", a length, "WEBP").
bool IsWebpHeader(std::span<const uint8_t> bytes);

// True when the file holds an animation (the extended header's animation flag).
bool IsAnimatedWebp(std::span<const uint8_t> bytes);

// The picture of a still WebP file, or the first frame of an animation, as 32 bits with alpha.
// EInvalidGraphic for bytes libwebp does not take.
TBitmap DecodeWebp(std::span<const uint8_t> bytes);

// Every frame of an animation composed in order (a still file gives its one picture with no
// delay). EInvalidGraphic for damaged files or animations beyond kMaxWebpAnimationPixels.
std::vector<WebpFrame> DecodeWebpFrames(std::span<const uint8_t> bytes);

// The picture as a lossless WebP file (other formats are converted to 32 bits first).
std::vector<uint8_t> EncodeWebpLossless(const TBitmap& picture);

}  // namespace varnel

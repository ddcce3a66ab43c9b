#pragma once
// PackBits run-length decoding, as Photoshop documents store their rows.

#include <cstdint>
#include <span>

namespace varnel {

// Decodes all of packed into out: a control byte n of 0..127 copies the next n + 1 bytes,
// -128 is skipped, any other negative n repeats the next byte 1 - n times. Writes no further
// than the end of out and reads no further than the end of packed; returns the bytes written.
size_t UnpackBits(std::span<const uint8_t> packed, std::span<uint8_t> out);

}  // namespace varnel

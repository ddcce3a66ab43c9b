#pragma once
// The run-length compression of the colour and alpha planes of Mac icon pictures.

#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/bitmap.h"

namespace varnel {

// Byte offsets of the channels inside a 32-bit pixel (blue, green, red, alpha).
enum class PixelChannel { Blue = 0, Green = 1, Red = 2, Alpha = 3 };

// Decodes one compressed plane per channel, in the order given, from data into a 32-bit bitmap,
// top row first. A control byte b below 128 is followed by b + 1 literal bytes; one of 128 or
// more by one byte repeated b - 125 times. A plane ends when every pixel has its byte (the rest
// of a run that overshoots is passed over) or when the data runs out; pixels not reached keep
// their bytes. Returns the bytes of data consumed.
size_t DecodeIcnsPlanes(std::span<const uint8_t> data, std::span<const PixelChannel> channels,
                        TBitmap& bitmap);

}  // namespace varnel

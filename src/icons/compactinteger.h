#pragma once
// The compact integers of icon project files: one byte 0..251 is the value itself; 252 is
// followed by a u16, 254 by a u32 (both little-endian); 253 stands for -1.

#include <cstdint>

#include "base/stream.h"

namespace varnel {

// Raises EReadError for the undefined lead byte 255 and for a stream that ends early.
int64_t ReadCompactInteger(Stream& stream);
// value -1 or 0..UINT32_MAX, in the shortest form.
void WriteCompactInteger(Stream& stream, int64_t value);

}  // namespace varnel

#pragma once
// Big-endian numbers read from a stream (EReadError when the stream ends first).

#include <cstdint>

#include "base/byteorder.h"
#include "base/stream.h"

namespace varnel {

inline uint16_t ReadU16BE(Stream& stream) {
  uint8_t bytes[2];
  stream.ReadBuffer(bytes, 2);
  return ReadU16BE(bytes);
}

inline uint32_t ReadU32BE(Stream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  return ReadU32BE(bytes);
}

}  // namespace varnel

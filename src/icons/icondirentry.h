#pragma once
// The 12-byte directory entry that ICO and CUR files and icon groups keep for each image.

#include <cstdint>

#include "base/byteorder.h"
#include "base/stream.h"

namespace varnel {

struct TIconDirEntry {
  static constexpr size_t kSize = 12;

  uint8_t bWidth = 0;       // 0 stands for 256 or more
  uint8_t bHeight = 0;      // 0 stands for 256 or more
  uint8_t bColorCount = 0;  // 2^bpp below 8 bits, else 0
  uint8_t bReserved = 0;
  uint16_t wPlanes = 0;    // hotspot x in a cursor file
  uint16_t wBitCount = 0;  // hotspot y in a cursor file
  uint32_t dwBytesInRes = 0;

  static TIconDirEntry Decode(const uint8_t* p) {
    return {p[0], p[1], p[2], p[3], ReadU16LE(p + 4), ReadU16LE(p + 6), ReadU32LE(p + 8)};
  }
  void Encode(uint8_t* p) const {
    p[0] = bWidth;
    p[1] = bHeight;
    p[2] = bColorCount;
    p[3] = bReserved;
    WriteU16LE(p + 4, wPlanes);
    WriteU16LE(p + 6, wBitCount);
    WriteU32LE(p + 8, dwBytesInRes);
  }
  static TIconDirEntry Read(Stream& stream) {
    uint8_t bytes[kSize];
    stream.ReadBuffer(bytes, kSize);
    return Decode(bytes);
  }
  void Write(Stream& stream) const {
    uint8_t bytes[kSize];
    Encode(bytes);
    stream.WriteBuffer(bytes, kSize);
  }
  friend bool operator==(const TIconDirEntry&, const TIconDirEntry&) = default;
};

}  // namespace varnel

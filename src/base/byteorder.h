#pragma once
// Little- and big-endian integer access to unaligned bytes.

#include <cstdint>
#include <cstring>

namespace varnel {

inline uint16_t ReadU16LE(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t ReadU32LE(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t ReadI32LE(const uint8_t* p) {
  return int32_t(ReadU32LE(p));
}
inline uint16_t ReadU16BE(const uint8_t* p) {
  return uint16_t((p[0] << 8) | p[1]);
}
inline uint32_t ReadU32BE(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void WriteU16LE(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void WriteU32LE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void WriteU32BE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}

}  // namespace varnel

#pragma once
// Folding values into a 64-bit key, for the keys that group icons before they are compared.

#include <cstdint>
#include <span>
#include <string_view>

namespace varnel {

inline uint64_t MixHash(uint64_t hash, uint64_t value) {
  return (hash ^ value) * 0x100000001B3ull + (hash >> 29);
}

inline uint64_t BytesHash(std::span<const uint8_t> bytes) {
  return std::hash<std::string_view>()(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace varnel

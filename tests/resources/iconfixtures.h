#pragma once
// Icons built in code for the icon-library tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/byteorder.h"
#include "icons/advancedicon.h"
#include "resources/iconlist.h"

namespace varnel::test {

// The bytes of a square DIB icon image: header, full palette, colour bits, mask; pixel bytes
// are filled with seed so that images of the same size differ.
inline std::vector<uint8_t> DibImageBytes(int width, int bits, uint8_t seed = 0x5A) {
  int64_t palette = bits <= 8 ? (int64_t(1) << bits) * 4 : 0;
  int64_t colorBytes = IconRowBytes(width, bits) * width;
  int64_t maskBytes = IconRowBytes(width, 1) * width;
  std::vector<uint8_t> data(size_t(40 + palette), 0);
  WriteU32LE(&data[0], 40);
  WriteU32LE(&data[4], uint32_t(width));
  WriteU32LE(&data[8], uint32_t(width * 2));
  WriteU16LE(&data[12], 1);
  WriteU16LE(&data[14], uint16_t(bits));
  for (int64_t i = 40; i < 40 + palette; ++i) data[size_t(i)] = uint8_t(i * 7);
  data.insert(data.end(), size_t(colorBytes), seed);
  data.insert(data.end(), size_t(maskBytes), 0);
  return data;
}

inline std::unique_ptr<TSubIcon> DibImage(int width, int bits, uint8_t seed = 0x5A) {
  MemoryStream stream(DibImageBytes(width, bits, seed));
  auto image = std::make_unique<TSubIcon>();
  image->LoadFromData(stream);
  return image;
}

// An icon of square DIB images of these widths, all at one depth.
inline std::unique_ptr<TAdvancedIcon> DibIcon(std::vector<int> widths, int bits = 4,
                                              uint8_t seed = 0x5A) {
  auto icon = std::make_unique<TAdvancedIcon>();
  for (int width : widths) icon->Images().Add(DibImage(width, bits, seed++));
  return icon;
}

// A 32 x 32, 4-bit image: 744 bytes.
inline std::unique_ptr<TAdvancedIcon> Icon744() {
  return DibIcon({32}, 4);
}

}  // namespace varnel::test

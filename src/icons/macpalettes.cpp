#include "icons/macpalettes.h"

#include <array>
#include <cstdint>

namespace varnel {

namespace {

RGBQuad Entry(uint32_t rrggbb) {
  return RGBQuad{uint8_t(rrggbb), uint8_t(rrggbb >> 8), uint8_t(rrggbb >> 16), 0};
}

std::vector<RGBQuad> MakePalette16() {
  constexpr std::array<uint32_t, 16> kColors = {
      0xFFFFFF, 0xFCF305, 0xFF6402, 0xDD0806, 0xF20884, 0x4600A5, 0x0000D4, 0x02ABEA,
      0x1FB714, 0x006411, 0x562C05, 0x90713A, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  std::vector<RGBQuad> palette;
  for (uint32_t color : kColors) palette.push_back(Entry(color));
  return palette;
}

std::vector<RGBQuad> MakePalette256() {
  constexpr std::array<uint8_t, 6> kCube = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
  constexpr std::array<uint8_t, 10> kRamp = {0xEE, 0xDD, 0xBB, 0xAA, 0x88,
                                             0x77, 0x55, 0x44, 0x22, 0x11};
  std::vector<RGBQuad> palette;
  for (uint8_t red : kCube)
    for (uint8_t green : kCube)
      for (uint8_t blue : kCube)
        if (red || green || blue) palette.push_back(RGBQuad{blue, green, red, 0});
  for (int shift : {16, 8, 0})
    for (uint8_t value : kRamp) palette.push_back(Entry(uint32_t(value) << shift));
  for (uint8_t value : kRamp) palette.push_back(RGBQuad{value, value, value, 0});
  palette.push_back(RGBQuad{});
  return palette;
}

}  // namespace

const std::vector<RGBQuad>& MacPalette16() {
  static const std::vector<RGBQuad> palette = MakePalette16();
  return palette;
}

const std::vector<RGBQuad>& MacPalette256() {
  static const std::vector<RGBQuad> palette = MakePalette256();
  return palette;
}

}  // namespace varnel

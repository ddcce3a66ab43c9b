#pragma once
// Colours as 0x00BBGGRR values (the settings file stores them in this form) and palette entries.

#include <cstdint>

namespace varnel {

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
// "No colour": a background that is left transparent.
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr uint8_t GetRValue(TColor c) {
  return uint8_t(c);
}
constexpr uint8_t GetGValue(TColor c) {
  return uint8_t(c >> 8);
}
constexpr uint8_t GetBValue(TColor c) {
  return uint8_t(c >> 16);
}

// One palette entry or 32-bit pixel as stored in a DIB: blue, green, red, then alpha/reserved.
struct RGBQuad {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;

  constexpr TColor ToColor() const { return RGB(red, green, blue); }
  static constexpr RGBQuad FromColor(TColor c, uint8_t alpha = 0) {
    return {GetBValue(c), GetGValue(c), GetRValue(c), alpha};
  }
  friend constexpr bool operator==(const RGBQuad&, const RGBQuad&) = default;
};
static_assert(sizeof(RGBQuad) == 4);

// Squared distance in RGB space, the measure of every nearest-colour choice.
constexpr int ColorDistance(TColor a, TColor b) {
  int dr = int(GetRValue(a)) - GetRValue(b);
  int dg = int(GetGValue(a)) - GetGValue(b);
  int db = int(GetBValue(a)) - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace varnel

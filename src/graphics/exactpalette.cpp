#include "graphics/exactpalette.h"

#include <unordered_map>

namespace varnel {

std::optional<TBitmap> IndexedExactly(const TBitmap& picture, const std::vector<TColor>& first) {
  int step = picture.BitsPerPixel() / 8;
  if (step != 3 && step != 4) return std::nullopt;
  std::vector<RGBQuad> palette;
  std::unordered_map<TColor, uint8_t> indexOf;
  auto enter = [&](TColor color) {
    auto [at, added] = indexOf.try_emplace(color, uint8_t(palette.size()));
    if (added) palette.push_back(RGBQuad::FromColor(color));
    return at->second;
  };
  for (TColor color : first) enter(color);
  TBitmap result(picture.Width(), picture.Height(), PixelFormat::Bits8);
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* source = picture.ScanLine(y);
    uint8_t* target = result.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x, source += step) {
      TColor color = RGB(source[2], source[1], source[0]);
      if (palette.size() == 256 && !indexOf.count(color)) return std::nullopt;
      target[x] = enter(color);
    }
  }
  result.SetPalette(std::move(palette));
  return result;
}

}  // namespace varnel

#include "icons/colorize.h"

#include <algorithm>
#include <cmath>

#include "graphics/canvas.h"
#include "icons/subiconlist.h"

namespace varnel {

namespace {

constexpr int kMiddle = 382;
constexpr int kBrightest = 765;

uint8_t Interpolated(int from, int to, double t) {
  return uint8_t(std::clamp<long>(std::lround(from + (to - from) * t), 0, 255));
}

void ColorizePixels(TBitmap& bitmap, int bytesPerPixel, TColor color) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += bytesPerPixel) {
      TColor result = ColorizedColor(RGB(p[2], p[1], p[0]), color);
      p[0] = GetBValue(result), p[1] = GetGValue(result), p[2] = GetRValue(result);
    }
  }
}

}  // namespace

TColor ColorizedColor(TColor original, TColor color) {
  int s = GetRValue(original) + GetGValue(original) + GetBValue(original);
  auto channel = [s](int stop) {
    if (s <= kMiddle) return Interpolated(0, stop, double(s) / kMiddle);
    return Interpolated(stop, 255, double(s - kMiddle) / (kBrightest - kMiddle));
  };
  return RGB(channel(GetRValue(color)), channel(GetGValue(color)), channel(GetBValue(color)));
}

void ColorizeBitmap(TBitmap& bitmap, TColor color) {
  switch (bitmap.Format()) {
    case PixelFormat::Bits8: {
      std::vector<RGBQuad> palette = bitmap.Palette();
      for (RGBQuad& entry : palette)
        entry = RGBQuad::FromColor(ColorizedColor(entry.ToColor(), color), entry.reserved);
      bitmap.SetPalette(std::move(palette));
      return;
    }
    case PixelFormat::Bits24:
      return ColorizePixels(bitmap, 3, color);
    case PixelFormat::Bits32:
      return ColorizePixels(bitmap, 4, color);
    default: {
      TBitmap copy = ConvertFormat(bitmap, PixelFormat::Bits24);
      ColorizePixels(copy, 3, color);
      Draw(bitmap, 0, 0, copy);
    }
  }
}

void ColorizeImage(TSubIcon& image, TColor color) {
  TBitmap colors, mask;
  image.GetBitmaps(nullptr, &colors, clNone, &mask);
  ColorizeBitmap(colors, color);
  TSubIconList rebuilt;
  rebuilt.AddFromBitmap(colors, &mask, 0);
  uint32_t hotSpot = image.HotSpot();
  image.LoadCopy(*rebuilt[0]);
  image.SetHotSpot(hotSpot);
}

void ColorizeIcon(TAdvancedIcon& icon, TColor color) {
  for (int i = 0; i < icon.Images().Count(); ++i) ColorizeImage(*icon.Images()[i], color);
}

}  // namespace varnel

#include "icons/picturesizing.h"

#include <algorithm>
#include <cmath>

#include "graphics/canvas.h"
#include "graphics/resample.h"
#include "icons/maskbits.h"

namespace varnel {

TRect TargetRect(int sourceWidth, int sourceHeight, bool keepProportions, int width, int height) {
  if (!keepProportions || sourceWidth <= 0 || sourceHeight <= 0) return {0, 0, width, height};
  double ratio = double(sourceWidth) / sourceHeight;
  double w = width, h = height;
  if (double(width) / height >= ratio)
    w = ratio * height;
  else
    h = width / ratio;
  auto edge = [](double total, double size, bool end) {
    return int(std::lround(end ? (total + size) / 2 : (total - size) / 2));
  };
  TRect rect{edge(width, w, false), edge(height, h, false), edge(width, w, true),
             edge(height, h, true)};
  rect.left = std::clamp(rect.left, 0, width - 1);
  rect.top = std::clamp(rect.top, 0, height - 1);
  rect.right = std::clamp(std::max(rect.right, rect.left + 1), 1, width);
  rect.bottom = std::clamp(std::max(rect.bottom, rect.top + 1), 1, height);
  return rect;
}

namespace {

// The picture as 32 bits with alpha: masked pixels transparent (black, or white where the
// colour was white), all others opaque.
TBitmap WithAlpha(const TBitmap& picture, const TBitmap* mask) {
  if (picture.Format() == PixelFormat::Bits32) return picture;
  TBitmap rgba = ConvertFormat(picture, PixelFormat::Bits32);
  SetOpaque(rgba);
  if (!mask || mask->Width() != picture.Width() || mask->Height() != picture.Height()) return rgba;
  for (int y = 0; y < rgba.Height(); ++y)
    for (int x = 0; x < rgba.Width(); ++x) {
      if (!MaskBitSet(*mask, x, y)) continue;
      uint8_t* p = rgba.ScanLine(y) + 4 * x;
      uint8_t level = p[0] == 255 && p[1] == 255 && p[2] == 255 ? 255 : 0;
      p[0] = p[1] = p[2] = level;
      p[3] = 0;
    }
  return rgba;
}

}  // namespace

void AddBitmapSized(TSubIconList& images, const TBitmap& picture, const TBitmap* mask, int filter,
                    int alphaThreshold, bool keepProportions, int width, int height) {
  if (picture.Width() == width && picture.Height() == height) {
    images.AddFromBitmap(picture, mask, 0);
    return;
  }
  width = std::max(width, 1), height = std::max(height, 1);
  TRect rect = TargetRect(picture.Width(), picture.Height(), keepProportions, width, height);
  TBitmap source = WithAlpha(picture, mask);
  TBitmap scaled(rect.Width(), rect.Height(), PixelFormat::Bits32);
  if (filter == 0)
    StretchDraw(scaled, {0, 0, rect.Width(), rect.Height()}, source);
  else
    ResampleAlpha(source, scaled, filter);
  TBitmap result(width, height, PixelFormat::Bits32);
  Draw(result, rect.left, rect.top, scaled);
  TBitmap resultMask(width, height, PixelFormat::Bits1);
  resultMask.SetPalette(StandardPalette(1));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (result.ScanLine(y)[4 * x + 3] < alphaThreshold) SetMaskBit(resultMask, x, y);
  images.AddFromBitmap(result, &resultMask, 0);
}

}  // namespace varnel

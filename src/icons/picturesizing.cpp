#include "icons/picturesizing.h"

#include <algorithm>
#include <cmath>

#include "graphics/palettereduction.h"
#include "graphics/resample.h"
#include "icons/maskbits.h"
#include "icons/pngpicture.h"

namespace varnel {

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

// The source scaled into rect of a transparent width x height picture.
TBitmap ScaledOntoTarget(const TBitmap& source, const TRect& rect, int filter, int width,
                         int height) {
  TBitmap placed(width, height, PixelFormat::Bits32);
  if (filter == 0) {
    StretchDraw(placed, rect, source);
    return placed;
  }
  TBitmap scaled(rect.Width(), rect.Height(), PixelFormat::Bits32);
  ResampleAlpha(source, scaled, filter);
  Draw(placed, rect.left, rect.top, scaled);
  return placed;
}

// The colours of a 32-bit picture at 24 bits, pixels whose alpha is below threshold black.
TBitmap OpaqueColors(const TBitmap& rgba, int threshold) {
  TBitmap colors(rgba.Width(), rgba.Height(), PixelFormat::Bits24);
  for (int y = 0; y < rgba.Height(); ++y) {
    const uint8_t* source = rgba.ScanLine(y);
    uint8_t* dest = colors.ScanLine(y);
    for (int x = 0; x < rgba.Width(); ++x, source += 4, dest += 3)
      if (source[3] >= threshold) dest[0] = source[0], dest[1] = source[1], dest[2] = source[2];
  }
  return colors;
}

// The scaled picture drawn into the picture's own format and palette.
TBitmap InOwnFormat(const TBitmap& placed, const TBitmap& picture, int threshold) {
  TBitmap result(placed.Width(), placed.Height(), picture.Format());
  if (!picture.Palette().empty()) result.SetPalette(picture.Palette());
  const uint32_t* masks = picture.ChannelMasks();
  if (picture.Format() == PixelFormat::Bits16) result.SetChannelMasks(masks[0], masks[1], masks[2]);
  Draw(result, 0, 0, OpaqueColors(placed, threshold));
  return result;
}

// An 8-bit picture scaled with a filter has colours its palette lacks: it takes a palette
// reduced from the scaled colours (pixels below the threshold black).
constexpr int kPaletteEntries = 256;

TBitmap BackToFormat(const TBitmap& placed, const TBitmap& picture, int filter, int threshold) {
  switch (picture.Format()) {
    case PixelFormat::Bits32:
      return placed;
    case PixelFormat::Bits24:
      return OpaqueColors(placed, threshold);
    case PixelFormat::Bits8:
      if (filter) return ReducePalette(placed, kPaletteEntries, threshold);
      return InOwnFormat(placed, picture, threshold);
    default:
      return InOwnFormat(placed, picture, threshold);
  }
}

}  // namespace

TRect TargetRectangle(int sourceWidth, int sourceHeight, bool keepProportions, int width,
                      int height) {
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

void AddBitmapSized(TSubIconList& images, const TBitmap& picture, const TBitmap* mask, int filter,
                    int alphaThreshold, bool keepProportions, int width, int height) {
  if (picture.Width() == width && picture.Height() == height) {
    images.AddFromBitmap(picture, mask, 0);
    return;
  }
  width = std::max(width, 1), height = std::max(height, 1);
  TRect rect = TargetRectangle(picture.Width(), picture.Height(), keepProportions, width, height);
  TBitmap placed = ScaledOntoTarget(WithAlpha(picture, mask), rect, filter, width, height);
  TBitmap resultMask = MaskFromAlphaBelow(placed, alphaThreshold);
  images.AddFromBitmap(BackToFormat(placed, picture, filter, alphaThreshold), &resultMask, 0);
}

}  // namespace varnel

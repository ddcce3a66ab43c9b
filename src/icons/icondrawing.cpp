// Icon drawing: every sized routine composes the image (on the background colour, or as a
// 32-bit layer with alpha when there is none), scales the composition and puts it on the canvas.

#include "icons/icondrawing.h"

#include <algorithm>

#include "graphics/canvas.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"
#include "icons/advancedicon.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

// True when the colour bitmap carries the transparency in its alpha. A 32-bit image whose alpha
// is 0 throughout relies on its mask, as the icon handle draws it.
bool HasAlpha(const TIconHandle& handle) {
  return handle.color.Format() == PixelFormat::Bits32 && !AllAlphaZero(handle.color);
}

const TIconHandle* DrawableHandle(const TSubIcon& image) {
  const TIconHandle* handle = image.Handle();
  return handle && !handle->color.Empty() ? handle : nullptr;
}

uint8_t OverColor(int background, int source, int alpha) {
  return uint8_t(background + alpha * source / 255 - alpha * background / 255);
}

// The 32-bit pixels composed over a solid colour into a 24-bit bitmap.
TBitmap ComposedOnColor(const TBitmap& layer, TColor back) {
  int br = GetRValue(back), bg = GetGValue(back), bb = GetBValue(back);
  TBitmap result(layer.Width(), layer.Height(), PixelFormat::Bits24);
  for (int y = 0; y < layer.Height(); ++y) {
    const uint8_t* in = layer.ScanLine(y);
    uint8_t* out = result.ScanLine(y);
    for (int x = 0; x < layer.Width(); ++x, in += 4, out += 3) {
      out[0] = OverColor(bb, in[0], in[3]);
      out[1] = OverColor(bg, in[1], in[3]);
      out[2] = OverColor(br, in[2], in[3]);
    }
  }
  return result;
}

// An image without alpha composed on a solid colour by its mask (AND, then XOR).
TBitmap MaskedOnColor(const TIconHandle& handle, TColor back) {
  TBitmap result(handle.color.Width(), handle.color.Height(), PixelFormat::Bits24);
  result.Fill(back);
  DrawMaskedXor(result, 0, 0, handle.color, handle.mask);
  return result;
}

// The image as a 32-bit layer: its own alpha, or opaque except where the mask is set
// (transparent black there).
TBitmap AlphaLayer(const TIconHandle& handle) {
  if (HasAlpha(handle)) return handle.color;
  TBitmap layer = ConvertFormat(handle.color, PixelFormat::Bits32);
  int width = std::min(layer.Width(), handle.mask.Width());
  int height = std::min(layer.Height(), handle.mask.Height());
  SetOpaque(layer);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(layer.ScanLine(y));
    for (int x = 0; x < width; ++x)
      if (MaskBitSet(handle.mask, x, y)) row[x] = 0;
  }
  return layer;
}

// What the image looks like at its natural size on the background.
TBitmap Composed(const TIconHandle& handle, TColor back) {
  if (back == clNone) return AlphaLayer(handle);
  if (HasAlpha(handle)) return ComposedOnColor(handle.color, back);
  return MaskedOnColor(handle, back);
}

// A composition scaled to width x height: resampled with filter, stretched for filter 0.
TBitmap Scaled(TBitmap composed, int width, int height, int filter) {
  if (composed.Width() == width && composed.Height() == height) return composed;
  TBitmap scaled(width, height, composed.Format());
  if (composed.Format() == PixelFormat::Bits32)
    ResampleAlpha(composed, scaled, filter);
  else
    Resample(composed, scaled, filter);
  return scaled;
}

// A straight-alpha pixel put over a 32-bit canvas pixel. An opaque canvas pixel blends as a
// screen would (dst + a * (src - dst) div 255); a transparent one takes the source pixel.
void OverPixel(uint8_t* dst, const uint8_t* src) {
  int a = src[3], da = dst[3];
  if (a == 255 || da == 0) {
    std::copy(src, src + 4, dst);
  } else if (da == 255) {
    for (int c = 0; c < 3; ++c) dst[c] = uint8_t(dst[c] + a * (src[c] - dst[c]) / 255);
  } else if (a != 0) {
    int under = da * (255 - a) / 255;
    int outAlpha = a + under;
    for (int c = 0; c < 3; ++c)
      dst[c] = uint8_t((src[c] * a + dst[c] * under + outAlpha / 2) / outAlpha);
    dst[3] = uint8_t(outAlpha);
  }
}

// Puts a 32-bit layer over the canvas at (x, y), clipped.
void DrawOver(TBitmap& canvas, int x, int y, const TBitmap& layer) {
  if (canvas.Format() != PixelFormat::Bits32) return DrawBlended(canvas, x, y, layer);
  int left = std::max(0, -x), top = std::max(0, -y);
  int right = std::min(layer.Width(), canvas.Width() - x);
  int bottom = std::min(layer.Height(), canvas.Height() - y);
  for (int row = top; row < bottom; ++row) {
    const uint8_t* src = layer.ScanLine(row) + 4 * left;
    uint8_t* dst = canvas.ScanLine(y + row) + 4 * (x + left);
    for (int col = left; col < right; ++col, src += 4, dst += 4) OverPixel(dst, src);
  }
}

void Put(TBitmap& canvas, int x, int y, const TBitmap& picture) {
  if (picture.Format() == PixelFormat::Bits32)
    DrawOver(canvas, x, y, picture);
  else
    Draw(canvas, x, y, picture);
}

struct Size {
  int width, height;
};

// The largest size of the image's proportions that fits the cell (at least 1 x 1).
Size FittedSize(int width, int height, int cellWidth, int cellHeight) {
  if (int64_t(width) * cellHeight >= int64_t(height) * cellWidth) {
    int64_t scaled = (2 * int64_t(height) * cellWidth + width) / (2 * int64_t(width));
    return {cellWidth, int(std::max<int64_t>(1, scaled))};
  }
  int64_t scaled = (2 * int64_t(width) * cellHeight + height) / (2 * int64_t(height));
  return {int(std::max<int64_t>(1, scaled)), cellHeight};
}

// The whole factor a small image is multiplied by to fill the cell (1 without enlarge).
int EnlargeFactor(bool enlarge, int width, int height, int cellWidth, int cellHeight) {
  if (!enlarge) return 1;
  return std::max(1, std::min(cellWidth / width, cellHeight / height));
}

}  // namespace

void DrawIconHandle(TBitmap& canvas, int x, int y, const TIconHandle& handle) {
  if (HasAlpha(handle))
    DrawOver(canvas, x, y, handle.color);
  else
    DrawMaskedXor(canvas, x, y, handle.color, handle.mask);
}

void DrawMasked(TBitmap& canvas, int x, int y, TColor backColor, const TSubIcon& image) {
  const TIconHandle* handle = DrawableHandle(image);
  if (!handle) return;
  if (HasAlpha(*handle) && backColor != clNone)
    Draw(canvas, x, y, ComposedOnColor(handle->color, backColor));
  else
    DrawIconHandle(canvas, x, y, *handle);
}

void DrawAlpha(TBitmap& canvas, int x, int y, TColor backColor, const TSubIcon& image, int height,
               int width) {
  DrawAlphaScaled(canvas, x, y, rfNone, backColor, image, height, width);
}

void DrawAlphaScaled(TBitmap& canvas, int x, int y, int filter, TColor backColor,
                     const TSubIcon& image, int height, int width) {
  const TIconHandle* handle = DrawableHandle(image);
  if (!handle || width <= 0 || height <= 0) return;
  Put(canvas, x, y, Scaled(Composed(*handle, backColor), width, height, filter));
}

void DrawStretched(TBitmap& canvas, int x, int y, TColor backColor, const TSubIcon& image,
                   int height, int width) {
  DrawAlphaScaled(canvas, x, y, kDisplayFilter, backColor, image, height, width);
}

void DrawFitted(TBitmap& canvas, int x, int y, bool enlarge, bool fit, TColor backColor,
                const TSubIcon& image, int height, int width) {
  int imageWidth = image.ImageWidth(), imageHeight = image.ImageHeight();
  if (!fit || (imageWidth == width && imageHeight == height))
    return DrawStretched(canvas, x, y, backColor, image, height, width);
  if (imageWidth <= 0 || imageHeight <= 0 || width <= 0 || height <= 0) return;
  Size size{};
  int filter = kDisplayFilter;
  if (imageWidth > width || imageHeight > height) {
    size = FittedSize(imageWidth, imageHeight, width, height);
  } else {
    int factor = EnlargeFactor(enlarge, imageWidth, imageHeight, width, height);
    size = {imageWidth * factor, imageHeight * factor};
    filter = rfNone;  // whole factors replicate pixels
  }
  DrawAlphaScaled(canvas, x + (width - size.width) / 2, y + (height - size.height) / 2, filter,
                  backColor, image, size.height, size.width);
}

void DrawPreview(TBitmap& picture, const TAdvancedIcon& icon, int width, TColor backColor, int bpp,
                 int height) {
  picture = TBitmap();
  const TSubIcon* image = icon.GetBestImage(width, height, bpp);
  const TIconHandle* handle = image ? DrawableHandle(*image) : nullptr;
  if (!handle) return;
  PixelFormat format = backColor == clNone ? PixelFormat::Bits32 : PixelFormat::Bits24;
  TBitmap result(handle->color.Width(), handle->color.Height(), format);
  // Small and large images alike are drawn as the icon handle draws them.
  if (backColor != clNone && !HasAlpha(*handle)) result.Fill(backColor);
  DrawMasked(result, 0, 0, backColor, *image);
  picture = std::move(result);
}

}  // namespace varnel

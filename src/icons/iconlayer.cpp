#include "icons/iconlayer.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "base/errors.h"
#include "base/packedstream.h"
#include "graphics/canvas.h"

namespace varnel {

namespace {

constexpr uint8_t kLayerMarker = 0;
constexpr uint8_t kLayerBits = 32;

TBitmap ReadPixels(Stream& stream, uint32_t width, uint32_t height) {
  if (width == 0 || height == 0) return TBitmap();
  if (width > uint32_t(kMaxBitmapDimension) || height > uint32_t(kMaxBitmapDimension) ||
      int64_t(width) * height * 4 > stream.Remaining())
    throw EReadError();
  TBitmap picture(int(width), int(height), PixelFormat::Bits32);
  std::span<uint8_t> bits = picture.Bits();
  stream.ReadBuffer(bits.data(), bits.size());
  return picture;
}

// Every alpha value scaled by factor / 255.
void ScaleAlpha(TBitmap& bitmap, int factor) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      row[4 * x + 3] = uint8_t(row[4 * x + 3] * factor / 255);
  }
}

// A black copy of the picture's shape.
TBitmap Silhouette(const TBitmap& picture) {
  TBitmap shadow = picture;
  for (int y = 0; y < shadow.Height(); ++y) {
    uint8_t* row = shadow.ScanLine(y);
    for (int x = 0; x < shadow.Width(); ++x) row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = 0;
  }
  return shadow;
}

}  // namespace

void TIconLayer::LoadFromStream(Stream& stream) {
  if (stream.ReadU8() != kLayerMarker) return;
  stream.ReadU8();  // bits per pixel: always 32
  uint32_t width = stream.ReadU32();
  uint32_t height = stream.ReadU32();
  Picture = ReadPixels(stream, width, height);
  Transparency = stream.ReadU8();
  ShadowSize = stream.ReadU8();
  if (ShadowSize != 0) {
    ShadowY = stream.ReadI32();
    ShadowX = stream.ReadI32();
    ShadowSoftness = stream.ReadU8();
  }
  OffsetX = stream.ReadI32();
  OffsetY = stream.ReadI32();
  Name = ReadPackedString(stream);
  LayerTag = stream.ReadI32();
  Hidden = stream.ReadU8();
}

void TIconLayer::SaveToStream(Stream& stream) const {
  stream.WriteU8(kLayerMarker);
  stream.WriteU8(kLayerBits);
  TBitmap pixels = Picture.Empty() ? TBitmap() : ConvertFormat(Picture, PixelFormat::Bits32);
  stream.WriteU32(uint32_t(pixels.Width()));
  stream.WriteU32(uint32_t(pixels.Height()));
  stream.WriteBytes(pixels.Bits());
  stream.WriteU8(Transparency);
  stream.WriteU8(ShadowSize);
  if (ShadowSize != 0) {
    stream.WriteI32(ShadowY);
    stream.WriteI32(ShadowX);
    stream.WriteU8(ShadowSoftness);
  }
  stream.WriteI32(OffsetX);
  stream.WriteI32(OffsetY);
  WritePackedString(stream, Name);
  stream.WriteI32(LayerTag);
  stream.WriteU8(Hidden);
}

TBitmap TIconLayer::Prepared(int width, int height) const {
  TBitmap result(width, height, PixelFormat::Bits32);
  if (Picture.Empty()) return result;
  TBitmap picture = ConvertFormat(Picture, PixelFormat::Bits32);
  ScaleAlpha(picture, 255 - Transparency);
  if (ShadowSize == 0) {
    Draw(result, OffsetX, OffsetY, picture);
    return result;
  }
  TBitmap shadow = Silhouette(picture);
  ScaleAlpha(shadow, ShadowSize);
  Draw(result, OffsetX + ShadowX / 100, OffsetY + ShadowY / 100, shadow);
  DrawBlended(result, OffsetX, OffsetY, picture);
  return result;
}

bool operator==(const TIconLayer& a, const TIconLayer& b) {
  auto fields = [](const TIconLayer& layer) {
    return std::tie(layer.Picture, layer.Transparency, layer.ShadowSize, layer.ShadowX,
                    layer.ShadowY, layer.ShadowSoftness, layer.OffsetX, layer.OffsetY, layer.Name,
                    layer.LayerTag, layer.Hidden);
  };
  return fields(a) == fields(b);
}

}  // namespace varnel

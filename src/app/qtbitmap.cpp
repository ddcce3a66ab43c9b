#include "app/qtbitmap.h"

#include <cstring>

namespace varnel {

QImage ToQImage(const TBitmap& bitmap, bool withAlpha) {
  if (bitmap.Empty()) return {};
  TBitmap copy;
  const TBitmap* source = &bitmap;
  if (bitmap.Format() != PixelFormat::Bits32) {
    copy = bitmap;
    copy.SetFormat(PixelFormat::Bits32);
    source = &copy;
    withAlpha = false;
  }
  // A 32-bit DIB row is B, G, R, A per pixel: the memory layout of ARGB32 on little-endian.
  QImage image(source->Width(), source->Height(),
               withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < source->Height(); ++y)
    std::memcpy(image.scanLine(y), source->ScanLine(y), size_t(source->Width()) * 4);
  return image;
}

TBitmap FromQImage(const QImage& image) {
  QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  TBitmap bitmap(argb.width(), argb.height(), PixelFormat::Bits32);
  for (int y = 0; y < argb.height(); ++y)
    std::memcpy(bitmap.ScanLine(y), argb.constScanLine(y), size_t(argb.width()) * 4);
  return bitmap;
}

QColor ToQColor(TColor color) {
  return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor FromQColor(const QColor& color) {
  return RGB(uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue()));
}

}  // namespace varnel

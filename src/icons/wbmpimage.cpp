#include "icons/wbmpimage.h"

#include "base/errors.h"

namespace varnel {

namespace {

// A size: one byte, or after 128 the next byte, after 129 the next byte plus 128.
int ReadSize(Stream& stream) {
  int value = stream.ReadU8();
  if (value == 128) return stream.ReadU8();
  if (value == 129) return stream.ReadU8() + 128;
  return value;
}

}  // namespace

TWapBitmap::TWapBitmap() : bitmap_(0, 0, PixelFormat::Bits1) {}

void TWapBitmap::LoadFromStream(Stream& stream) {
  bitmap_ = TBitmap(0, 0, PixelFormat::Bits1);
  uint8_t header[2];
  stream.ReadBuffer(header, 2);
  if (header[0] != 0 || header[1] != 0) throw EInvalidGraphic("Invalid file header");
  int width = ReadSize(stream);
  int height = ReadSize(stream);
  bitmap_.SetSize(width, height);
  size_t rowBytes = size_t(width + 7) / 8;
  for (int y = 0; y < height; ++y)
    if (stream.Read(bitmap_.ScanLine(y), rowBytes) < rowBytes) break;
}

void TWapBitmap::Draw(TBitmap& canvas, const TRect& rect) const {
  StretchDraw(canvas, rect, bitmap_);
}

void TWapBitmap::Assign(const TBitmap& source) {
  if (source.Format() != PixelFormat::Bits1)
    throw EInvalidGraphic("Cannot assign a picture of more than 1 bit to a WAP bitmap");
  bitmap_ = source;
}

const TPictureFormat& WbmpPictureFormat() {
  static const TPictureFormat kFormat{"WAP Bitmap",
                                      [](Stream& stream) {
                                        TWapBitmap picture;
                                        picture.LoadFromStream(stream);
                                        return picture.Bitmap();
                                      },
                                      nullptr,
                                      false,
                                      "WBMP",
                                      true};
  return kFormat;
}

namespace {

const bool kWbmpRegistered = (RegisterPictureFormat("wbmp", WbmpPictureFormat()), true);

}  // namespace

}  // namespace varnel

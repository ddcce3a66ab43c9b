#include "icons/icnsplanes.h"

#include <algorithm>

namespace varnel {

namespace {

// Writes plane bytes into one channel of the pixels, top row first.
class PlaneWriter {
 public:
  PlaneWriter(TBitmap& bitmap, PixelChannel channel)
      : bitmap_(bitmap),
        channel_(int(channel)),
        total_(int64_t(bitmap.Width()) * bitmap.Height()) {}

  bool Full() const { return filled_ >= total_; }
  void Put(uint8_t value) {
    if (Full()) return;
    int x = int(filled_ % bitmap_.Width());
    int y = int(filled_ / bitmap_.Width());
    bitmap_.ScanLine(y)[4 * x + channel_] = value;
    ++filled_;
  }

 private:
  TBitmap& bitmap_;
  int channel_;
  int64_t total_;
  int64_t filled_ = 0;
};

size_t DecodePlane(std::span<const uint8_t> data, size_t position, PlaneWriter& writer) {
  while (!writer.Full() && position < data.size()) {
    uint8_t control = data[position++];
    if (control < 128) {
      size_t end = std::min(data.size(), position + control + 1);
      for (; position < end; ++position) writer.Put(data[position]);
    } else {
      if (position >= data.size()) break;
      uint8_t value = data[position++];
      for (int i = 0; i < control - 125; ++i) writer.Put(value);
    }
  }
  return position;
}

}  // namespace

size_t DecodeIcnsPlanes(std::span<const uint8_t> data, std::span<const PixelChannel> channels,
                        TBitmap& bitmap) {
  size_t position = 0;
  if (bitmap.Format() != PixelFormat::Bits32 || bitmap.Empty()) return position;
  for (PixelChannel channel : channels) {
    PlaneWriter writer(bitmap, channel);
    position = DecodePlane(data, position, writer);
  }
  return position;
}

}  // namespace varnel

// seeds: bmp
// Building an image from a DIB stream (the first 14 bytes of a BMP file are skipped, as the
// bitmap conversions do), then drawing, packing and unpacking it.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "icons/subiconlist.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 14) return 0;
  SpanStream color(std::span<const uint8_t>(data, size));
  color.SetPosition(14);
  SpanStream mask(std::span<const uint8_t>(data, size));
  TSubIconList list;
  try {
    list.AddFromBitmapStreams(color, size % 2 ? &mask : nullptr, uint8_t(size), int64_t(size) - 14);
    TSubIcon packed;
    list[0]->PackPng(packed);
    TSubIcon unpacked;
    packed.UnpackPng(unpacked);
  } catch (const Exception&) {
  }
  return 0;
}

#include "graphics/webpcodec.h"

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include <cstring>
#include <memory>

#include "base/errors.h"
#include "graphics/canvas.h"

namespace varnel {

namespace {

constexpr const char* kInvalidWebp = "Invalid WebP image";
constexpr size_t kHeaderBytes = 12;

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxWebpDimension || height > kMaxWebpDimension)
    throw EInvalidGraphic(kInvalidWebp);
}

// The features libwebp reads from the headers, raising for bytes that are no WebP file.
WebPBitstreamFeatures FeaturesOf(std::span<const uint8_t> bytes) {
  WebPBitstreamFeatures features;
  if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK)
    throw EInvalidGraphic(kInvalidWebp);
  CheckSize(features.width, features.height);
  return features;
}

// Copies a top-down BGRA canvas of libwebp into a bitmap.
TBitmap BitmapOfBgra(const uint8_t* pixels, int width, int height) {
  TBitmap picture(width, height, PixelFormat::Bits32);
  size_t rowBytes = size_t(width) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(picture.ScanLine(y), pixels + size_t(y) * rowBytes, rowBytes);
  return picture;
}

struct AnimDecoderDeleter {
  void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};
using AnimDecoder = std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter>;

AnimDecoder OpenAnimation(const WebPData& data, WebPAnimInfo& info) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) throw EInvalidGraphic(kInvalidWebp);
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  AnimDecoder decoder(WebPAnimDecoderNew(&data, &options));
  if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info))
    throw EInvalidGraphic(kInvalidWebp);
  CheckSize(int(info.canvas_width), int(info.canvas_height));
  int64_t pixels = int64_t(info.canvas_width) * info.canvas_height * info.frame_count;
  if (info.frame_count == 0 || pixels > kMaxWebpAnimationPixels)
    throw EInvalidGraphic(kInvalidWebp);
  return decoder;
}

std::vector<WebpFrame> DecodeAnimation(std::span<const uint8_t> bytes) {
  WebPData data{bytes.data(), bytes.size()};
  WebPAnimInfo info;
  AnimDecoder decoder = OpenAnimation(data, info);
  std::vector<WebpFrame> frames;
  int shownUntil = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp))
      throw EInvalidGraphic(kInvalidWebp);
    frames.push_back({BitmapOfBgra(canvas, int(info.canvas_width), int(info.canvas_height)),
                      timestamp - shownUntil});
    shownUntil = timestamp;
  }
  if (frames.empty()) throw EInvalidGraphic(kInvalidWebp);
  return frames;
}

}  // namespace

bool IsWebpHeader(std::span<const uint8_t> bytes) {
  return bytes.size() >= kHeaderBytes && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
         std::memcmp(bytes.data() + 8, "WEBP", 4) == 0;
}

bool IsAnimatedWebp(std::span<const uint8_t> bytes) {
  WebPBitstreamFeatures features;
  return WebPGetFeatures(bytes.data(), bytes.size(), &features) == VP8_STATUS_OK &&
         features.has_animation;
}

TBitmap DecodeWebp(std::span<const uint8_t> bytes) {
  WebPBitstreamFeatures features = FeaturesOf(bytes);
  if (features.has_animation) return std::move(DecodeAnimation(bytes).front().picture);
  TBitmap picture(features.width, features.height, PixelFormat::Bits32);
  size_t rowBytes = size_t(features.width) * 4;
  std::vector<uint8_t> pixels(rowBytes * size_t(features.height));
  if (!WebPDecodeBGRAInto(bytes.data(), bytes.size(), pixels.data(), pixels.size(), int(rowBytes)))
    throw EInvalidGraphic(kInvalidWebp);
  return BitmapOfBgra(pixels.data(), features.width, features.height);
}

std::vector<WebpFrame> DecodeWebpFrames(std::span<const uint8_t> bytes) {
  if (FeaturesOf(bytes).has_animation) return DecodeAnimation(bytes);
  std::vector<WebpFrame> frames;
  frames.push_back({DecodeWebp(bytes), 0});
  return frames;
}

std::vector<uint8_t> EncodeWebpLossless(const TBitmap& picture) {
  if (picture.Empty()) throw EInvalidGraphic(kInvalidWebp);
  CheckSize(picture.Width(), picture.Height());
  bool hasAlpha = picture.Format() == PixelFormat::Bits32;
  TBitmap source = hasAlpha ? picture : ConvertFormat(picture, PixelFormat::Bits32);
  // Pictures of other formats are opaque.
  for (int y = 0; !hasAlpha && y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) source.ScanLine(y)[x * 4 + 3] = 255;
  std::vector<uint8_t> pixels(size_t(source.Width()) * 4 * size_t(source.Height()));
  for (int y = 0; y < source.Height(); ++y)
    std::memcpy(pixels.data() + size_t(y) * source.Width() * 4, source.ScanLine(y),
                size_t(source.Width()) * 4);
  uint8_t* output = nullptr;
  size_t size = WebPEncodeLosslessBGRA(pixels.data(), source.Width(), source.Height(),
                                       source.Width() * 4, &output);
  if (size == 0 || !output) throw EInvalidGraphic("WebP image could not be written");
  std::vector<uint8_t> bytes(output, output + size);
  WebPFree(output);
  return bytes;
}

}  // namespace varnel

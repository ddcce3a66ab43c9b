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
constexpr const char* kCannotWrite = "WebP image could not be written";
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

// The picture's pixels as top-down BGRA rows; pictures of other formats are opaque.
std::vector<uint8_t> BgraOf(const TBitmap& picture) {
  bool hasAlpha = picture.Format() == PixelFormat::Bits32;
  TBitmap source = hasAlpha ? picture : ConvertFormat(picture, PixelFormat::Bits32);
  size_t rowBytes = size_t(source.Width()) * 4;
  std::vector<uint8_t> pixels(rowBytes * size_t(source.Height()));
  for (int y = 0; y < source.Height(); ++y) {
    uint8_t* row = pixels.data() + size_t(y) * rowBytes;
    std::memcpy(row, source.ScanLine(y), rowBytes);
    for (size_t x = 3; !hasAlpha && x < rowBytes; x += 4) row[x] = 255;
  }
  return pixels;
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
  std::vector<uint8_t> pixels = BgraOf(picture);
  WebPConfig config;
  if (!WebPConfigInit(&config)) throw EInvalidGraphic(kCannotWrite);
  config.lossless = 1;
  config.exact = 1;  // the colour of transparent pixels is kept too
  WebPPicture target;
  if (!WebPPictureInit(&target)) throw EInvalidGraphic(kCannotWrite);
  target.use_argb = 1;
  target.width = picture.Width();
  target.height = picture.Height();
  WebPMemoryWriter writer;
  WebPMemoryWriterInit(&writer);
  target.writer = WebPMemoryWrite;
  target.custom_ptr = &writer;
  bool written = WebPPictureImportBGRA(&target, pixels.data(), picture.Width() * 4) &&
                 WebPEncode(&config, &target);
  WebPPictureFree(&target);
  std::vector<uint8_t> bytes(writer.mem, writer.mem + (written ? writer.size : 0));
  WebPMemoryWriterClear(&writer);
  if (!written) throw EInvalidGraphic(kCannotWrite);
  return bytes;
}

}  // namespace varnel

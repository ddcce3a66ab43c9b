#include "graphics/webpcodec.h"

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include <cstring>
#include <memory>

#include "base/dynamiclibrary.h"
#include "base/errors.h"
#include "graphics/canvas.h"

namespace varnel {

namespace {

constexpr const char* kInvalidWebp = "Invalid WebP image";
constexpr const char* kCannotWrite = "WebP image could not be written";
constexpr size_t kHeaderBytes = 12;

// libwebp and its animation decoder are loaded with the first WebP picture. The headers' inline
// wrappers (WebPGetFeatures, WebPConfigInit, ...) are replaced by calls to the functions they
// wrap, with the header's version numbers.
struct WebpFunctions {
  DynamicLibrary codec{"libwebp.so.7", "libwebp7"};
  DynamicLibrary demux{"libwebpdemux.so.2", "libwebpdemux2"};
  VARNEL_LIBRARY_FUNCTION(codec, WebPGetFeaturesInternal);
  VARNEL_LIBRARY_FUNCTION(codec, WebPDecodeBGRAInto);
  VARNEL_LIBRARY_FUNCTION(codec, WebPConfigInitInternal);
  VARNEL_LIBRARY_FUNCTION(codec, WebPPictureInitInternal);
  VARNEL_LIBRARY_FUNCTION(codec, WebPPictureImportBGRA);
  VARNEL_LIBRARY_FUNCTION(codec, WebPPictureFree);
  VARNEL_LIBRARY_FUNCTION(codec, WebPEncode);
  VARNEL_LIBRARY_FUNCTION(codec, WebPMemoryWriterInit);
  VARNEL_LIBRARY_FUNCTION(codec, WebPMemoryWrite);
  VARNEL_LIBRARY_FUNCTION(codec, WebPMemoryWriterClear);
  VARNEL_LIBRARY_FUNCTION(demux, WebPAnimDecoderOptionsInitInternal);
  VARNEL_LIBRARY_FUNCTION(demux, WebPAnimDecoderNewInternal);
  VARNEL_LIBRARY_FUNCTION(demux, WebPAnimDecoderGetInfo);
  VARNEL_LIBRARY_FUNCTION(demux, WebPAnimDecoderHasMoreFrames);
  VARNEL_LIBRARY_FUNCTION(demux, WebPAnimDecoderGetNext);
  VARNEL_LIBRARY_FUNCTION(demux, WebPAnimDecoderDelete);
};

constexpr auto Webp = &LoadedFunctions<WebpFunctions>;

VP8StatusCode GetFeatures(std::span<const uint8_t> bytes, WebPBitstreamFeatures& features) {
  return Webp().WebPGetFeaturesInternal(bytes.data(), bytes.size(), &features,
                                        WEBP_DECODER_ABI_VERSION);
}

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxWebpDimension || height > kMaxWebpDimension)
    throw EInvalidGraphic(kInvalidWebp);
}

// The features libwebp reads from the headers, raising for bytes that are no WebP file.
WebPBitstreamFeatures FeaturesOf(std::span<const uint8_t> bytes) {
  WebPBitstreamFeatures features;
  if (GetFeatures(bytes, features) != VP8_STATUS_OK) throw EInvalidGraphic(kInvalidWebp);
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
  void operator()(WebPAnimDecoder* decoder) const { Webp().WebPAnimDecoderDelete(decoder); }
};
using AnimDecoder = std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter>;

AnimDecoder OpenAnimation(const WebPData& data, WebPAnimInfo& info) {
  WebPAnimDecoderOptions options;
  const WebpFunctions& webp = Webp();
  if (!webp.WebPAnimDecoderOptionsInitInternal(&options, WEBP_DEMUX_ABI_VERSION))
    throw EInvalidGraphic(kInvalidWebp);
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  AnimDecoder decoder(webp.WebPAnimDecoderNewInternal(&data, &options, WEBP_DEMUX_ABI_VERSION));
  if (!decoder || !webp.WebPAnimDecoderGetInfo(decoder.get(), &info))
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
  while (Webp().WebPAnimDecoderHasMoreFrames(decoder.get())) {
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!Webp().WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp))
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
  return GetFeatures(bytes, features) == VP8_STATUS_OK && features.has_animation;
}

TBitmap DecodeWebp(std::span<const uint8_t> bytes) {
  WebPBitstreamFeatures features = FeaturesOf(bytes);
  if (features.has_animation) return std::move(DecodeAnimation(bytes).front().picture);
  TBitmap picture(features.width, features.height, PixelFormat::Bits32);
  size_t rowBytes = size_t(features.width) * 4;
  std::vector<uint8_t> pixels(rowBytes * size_t(features.height));
  if (!Webp().WebPDecodeBGRAInto(bytes.data(), bytes.size(), pixels.data(), pixels.size(),
                                 int(rowBytes)))
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
  const WebpFunctions& webp = Webp();
  WebPConfig config;
  if (!webp.WebPConfigInitInternal(&config, WEBP_PRESET_DEFAULT, 75.f, WEBP_ENCODER_ABI_VERSION))
    throw EInvalidGraphic(kCannotWrite);
  config.lossless = 1;
  config.exact = 1;  // the colour of transparent pixels is kept too
  WebPPicture target;
  if (!webp.WebPPictureInitInternal(&target, WEBP_ENCODER_ABI_VERSION))
    throw EInvalidGraphic(kCannotWrite);
  target.use_argb = 1;
  target.width = picture.Width();
  target.height = picture.Height();
  WebPMemoryWriter writer;
  webp.WebPMemoryWriterInit(&writer);
  target.writer = webp.WebPMemoryWrite;
  target.custom_ptr = &writer;
  bool written = webp.WebPPictureImportBGRA(&target, pixels.data(), picture.Width() * 4) &&
                 webp.WebPEncode(&config, &target);
  webp.WebPPictureFree(&target);
  std::vector<uint8_t> bytes(writer.mem, writer.mem + (written ? writer.size : 0));
  webp.WebPMemoryWriterClear(&writer);
  if (!written) throw EInvalidGraphic(kCannotWrite);
  return bytes;
}

}  // namespace varnel

#include "graphics/jpeg2000codec.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/dynamiclibrary.h"
#include "base/errors.h"

namespace varnel {

namespace {

constexpr uint8_t kJp2Signature[12] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50,
                                       0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
constexpr uint8_t kCodestreamStart[4] = {0xFF, 0x4F, 0xFF, 0x51};

// OpenJPEG is loaded with the first JPEG 2000 picture.
struct OpenJpegFunctions {
  DynamicLibrary library{"libopenjp2.so.7", "libopenjp2-7"};
  VARNEL_LIBRARY_FUNCTION(library, opj_create_decompress);
  VARNEL_LIBRARY_FUNCTION(library, opj_set_info_handler);
  VARNEL_LIBRARY_FUNCTION(library, opj_set_warning_handler);
  VARNEL_LIBRARY_FUNCTION(library, opj_set_error_handler);
  VARNEL_LIBRARY_FUNCTION(library, opj_set_default_decoder_parameters);
  VARNEL_LIBRARY_FUNCTION(library, opj_setup_decoder);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_create);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_set_user_data_length);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_set_user_data);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_set_read_function);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_set_skip_function);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_set_seek_function);
  VARNEL_LIBRARY_FUNCTION(library, opj_read_header);
  VARNEL_LIBRARY_FUNCTION(library, opj_decode);
  VARNEL_LIBRARY_FUNCTION(library, opj_end_decompress);
  VARNEL_LIBRARY_FUNCTION(library, opj_destroy_codec);
  VARNEL_LIBRARY_FUNCTION(library, opj_stream_destroy);
  VARNEL_LIBRARY_FUNCTION(library, opj_image_destroy);
};

constexpr auto OpenJpeg = &LoadedFunctions<OpenJpegFunctions>;

[[noreturn]] void Invalid() {
  throw EInvalidGraphic("JPEG 2000 image is not valid");
}

// The bytes being decoded and the read position, handed to OpenJPEG's stream callbacks.
struct ByteSource {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

OPJ_SIZE_T ReadSource(void* buffer, OPJ_SIZE_T count, void* data) {
  auto* source = static_cast<ByteSource*>(data);
  size_t available = source->bytes.size() - source->position;
  if (available == 0) return OPJ_SIZE_T(-1);
  size_t taken = std::min<size_t>(count, available);
  std::memcpy(buffer, source->bytes.data() + source->position, taken);
  source->position += taken;
  return taken;
}

OPJ_OFF_T SkipSource(OPJ_OFF_T count, void* data) {
  auto* source = static_cast<ByteSource*>(data);
  if (count < 0) return -1;
  size_t available = source->bytes.size() - source->position;
  size_t skipped = std::min<size_t>(size_t(count), available);
  source->position += skipped;
  return OPJ_OFF_T(skipped);
}

OPJ_BOOL SeekSource(OPJ_OFF_T position, void* data) {
  auto* source = static_cast<ByteSource*>(data);
  if (position < 0 || uint64_t(position) > source->bytes.size()) return OPJ_FALSE;
  source->position = size_t(position);
  return OPJ_TRUE;
}

void Quiet(const char*, void*) {}

struct CodecDeleter {
  void operator()(opj_codec_t* codec) const { OpenJpeg().opj_destroy_codec(codec); }
};
struct StreamDeleter {
  void operator()(opj_stream_t* stream) const { OpenJpeg().opj_stream_destroy(stream); }
};
struct ImageDeleter {
  void operator()(opj_image_t* image) const { OpenJpeg().opj_image_destroy(image); }
};
using CodecPtr = std::unique_ptr<opj_codec_t, CodecDeleter>;
using StreamPtr = std::unique_ptr<opj_stream_t, StreamDeleter>;
using ImagePtr = std::unique_ptr<opj_image_t, ImageDeleter>;

CodecPtr MakeDecoder(std::span<const uint8_t> data) {
  bool jp2 = data.size() >= sizeof kJp2Signature &&
             std::equal(std::begin(kJp2Signature), std::end(kJp2Signature), data.begin());
  CodecPtr codec(OpenJpeg().opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
  if (!codec) Invalid();
  OpenJpeg().opj_set_info_handler(codec.get(), Quiet, nullptr);
  OpenJpeg().opj_set_warning_handler(codec.get(), Quiet, nullptr);
  OpenJpeg().opj_set_error_handler(codec.get(), Quiet, nullptr);
  opj_dparameters_t parameters;
  OpenJpeg().opj_set_default_decoder_parameters(&parameters);
  if (!OpenJpeg().opj_setup_decoder(codec.get(), &parameters)) Invalid();
  return codec;
}

StreamPtr MakeStream(ByteSource& source) {
  StreamPtr stream(OpenJpeg().opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
  if (!stream) Invalid();
  OpenJpeg().opj_stream_set_user_data(stream.get(), &source, nullptr);
  OpenJpeg().opj_stream_set_user_data_length(stream.get(), source.bytes.size());
  OpenJpeg().opj_stream_set_read_function(stream.get(), ReadSource);
  OpenJpeg().opj_stream_set_skip_function(stream.get(), SkipSource);
  OpenJpeg().opj_stream_set_seek_function(stream.get(), SeekSource);
  return stream;
}

// Checks the picture's size as the header gives it, before any sample is decoded.
void CheckHeaderSize(const opj_image_t& image) {
  int64_t width = int64_t(image.x1) - image.x0;
  int64_t height = int64_t(image.y1) - image.y0;
  if (image.numcomps == 0 || width <= 0 || height <= 0 || width > kMaxBitmapDimension ||
      height > kMaxBitmapDimension || width * height * 4 > kMaxJpeg2000DecodeBytes)
    Invalid();
}

// One sample of a component at picture position (x, y), scaled to 8 bits.
uint8_t Sample(const opj_image_comp_t& component, int x, int y) {
  int64_t cx = std::min<int64_t>(x / std::max<OPJ_UINT32>(component.dx, 1), component.w - 1);
  int64_t cy = std::min<int64_t>(y / std::max<OPJ_UINT32>(component.dy, 1), component.h - 1);
  int64_t value = component.data[cy * component.w + cx];
  if (component.sgnd) value += int64_t(1) << (component.prec - 1);
  int shift = int(component.prec) - 8;
  value = shift > 0 ? value >> shift : value << -shift;
  return uint8_t(std::clamp<int64_t>(value, 0, 255));
}

void CheckComponents(const opj_image_t& image) {
  for (OPJ_UINT32 i = 0; i < image.numcomps; ++i) {
    const opj_image_comp_t& component = image.comps[i];
    if (!component.data || component.w == 0 || component.h == 0 || component.prec == 0 ||
        component.prec > 31)
      Invalid();
  }
}

TBitmap ToBitmap(const opj_image_t& image) {
  CheckComponents(image);
  int width = int(image.x1 - image.x0);
  int height = int(image.y1 - image.y0);
  TBitmap bitmap(width, height, PixelFormat::Bits32);
  const opj_image_comp_t* comps = image.comps;
  bool colour = image.numcomps >= 3;
  int alphaIndex = colour ? 3 : 1;
  bool hasAlpha = int(image.numcomps) > alphaIndex;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      uint8_t red = Sample(comps[0], x, y);
      row[4 * x + 2] = red;
      row[4 * x + 1] = colour ? Sample(comps[1], x, y) : red;
      row[4 * x] = colour ? Sample(comps[2], x, y) : red;
      row[4 * x + 3] = hasAlpha ? Sample(comps[alphaIndex], x, y) : 255;
    }
  }
  return bitmap;
}

}  // namespace

bool HasJpeg2000Signature(std::span<const uint8_t> bytes) {
  auto startsWith = [&](std::span<const uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
  };
  return startsWith(kJp2Signature) || startsWith(kCodestreamStart);
}

TBitmap DecodeJpeg2000(std::span<const uint8_t> data) {
  ByteSource source{data};
  CodecPtr codec = MakeDecoder(data);
  StreamPtr stream = MakeStream(source);
  opj_image_t* header = nullptr;
  if (!OpenJpeg().opj_read_header(stream.get(), codec.get(), &header)) {
    OpenJpeg().opj_image_destroy(header);
    Invalid();
  }
  ImagePtr image(header);
  CheckHeaderSize(*image);
  if (!OpenJpeg().opj_decode(codec.get(), stream.get(), image.get()) ||
      !OpenJpeg().opj_end_decompress(codec.get(), stream.get()))
    Invalid();
  return ToBitmap(*image);
}

}  // namespace varnel

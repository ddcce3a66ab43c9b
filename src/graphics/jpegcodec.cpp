#include "graphics/jpegcodec.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "base/errors.h"
#include "graphics/pngcodec.h"

namespace varnel {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

[[noreturn]] void Invalid() {
  throw EInvalidGraphic("JPEG image is not valid");
}

// Decodes into rows owned by the caller; false on any decoder error. No object with a destructor
// lives in this frame, so the long jump out of the decoder is safe.
bool DecodeInto(std::span<const uint8_t> jpeg, TBitmap* out) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_EXT_BGR;  // the byte order of 24-bit DIB rows
  jpeg_calc_output_dimensions(&info);
  uint64_t bytes = uint64_t(info.output_width) * info.output_height * 3;
  if (info.output_width > uint32_t(kMaxBitmapDimension) ||
      info.output_height > uint32_t(kMaxBitmapDimension) || bytes > kMaxPngDecodeBytes) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  out->SetSize(int(info.output_width), int(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out->ScanLine(int(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

TBitmap DecodeJpeg(std::span<const uint8_t> jpeg) {
  TBitmap bitmap(0, 0, PixelFormat::Bits24);
  if (jpeg.empty() || !DecodeInto(jpeg, &bitmap)) Invalid();
  return bitmap;
}

}  // namespace varnel

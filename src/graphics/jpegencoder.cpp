#include "graphics/jpegencoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "base/errors.h"
#include "graphics/canvas.h"

namespace varnel {

namespace {

struct EncoderErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnEncoderError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<EncoderErrors*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

// The JPEG in a buffer malloc'd by libjpeg (freed by the caller), or null on failure. Nothing
// with a destructor lives in this frame, so the long jump out of the encoder is safe.
unsigned char* EncodeRows(const TBitmap& rows, int quality, unsigned long* size) {
  jpeg_compress_struct info;
  EncoderErrors errors;
  unsigned char* buffer = nullptr;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnEncoderError;
  errors.base.emit_message = IgnoreMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return nullptr;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, size);
  info.image_width = JDIMENSION(rows.Width());
  info.image_height = JDIMENSION(rows.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;  // the byte order of 24-bit DIB rows
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(rows.ScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return buffer;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw EInvalidGraphic("Cannot write an empty picture as JPEG");
  TBitmap rows =
      bitmap.Format() == PixelFormat::Bits24 ? bitmap : ConvertFormat(bitmap, PixelFormat::Bits24);
  unsigned long size = 0;
  unsigned char* buffer = EncodeRows(rows, quality, &size);
  if (!buffer) throw EInvalidGraphic("JPEG encoding failed");
  std::vector<uint8_t> jpeg(buffer, buffer + size);
  std::free(buffer);
  return jpeg;
}

}  // namespace varnel

#include "collection/minimaljpegwriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "base/errors.h"

namespace varnel {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Rows in RGB order, top row first, as libjpeg takes them.
std::vector<uint8_t> RgbRows(const TBitmap& bgr) {
  std::vector<uint8_t> rows(size_t(bgr.Width()) * 3 * size_t(bgr.Height()));
  uint8_t* out = rows.data();
  for (int y = 0; y < bgr.Height(); ++y) {
    const uint8_t* in = bgr.ScanLine(y);
    for (int x = 0; x < bgr.Width(); ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return rows;
}

// Encodes into a buffer libjpeg allocates; false on any encoder error. No object with a
// destructor lives in this frame, so the long jump out of the encoder is safe.
bool EncodeInto(const uint8_t* rgb, int width, int height, int quality, unsigned char** buffer,
                unsigned long* size) {
  jpeg_compress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(rgb) + size_t(info.next_scanline) * size_t(width) * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeJpegMinimal(const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw EInvalidGraphic("JPEG image cannot be empty");
  TBitmap bgr = bitmap;
  bgr.SetFormat(PixelFormat::Bits24);
  std::vector<uint8_t> rgb = RgbRows(bgr);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool done = EncodeInto(rgb.data(), bgr.Width(), bgr.Height(), quality, &buffer, &size);
  std::vector<uint8_t> jpeg;
  if (done) jpeg.assign(buffer, buffer + size);
  std::free(buffer);
  if (!done) throw EInvalidGraphic("JPEG image could not be written");
  return jpeg;
}

}  // namespace varnel

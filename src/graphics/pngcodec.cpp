#include "graphics/pngcodec.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <string_view>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/canvas.h"
#include "graphics/pixelrow.h"

namespace varnel {

// libpng reports errors by longjmp to the setjmp of the calling frame. Every function below that
// calls setjmp holds only trivially destructible locals, and the libpng structures, buffers and
// bitmaps live in the caller's frame, so a longjmp never skips a destructor.

namespace {

constexpr char kInvalidPng[] = "PNG image is not valid";
// Deflate cannot compress better than about 1032 to 1.
constexpr int64_t kMaxDeflateRatio = 1032;

[[noreturn]] void RaiseInvalidPng() {
  throw EInvalidGraphic(kInvalidPng);
}

void OnPngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

struct PngInput {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (input->size - input->position < count) png_error(png, "truncated");
  std::memcpy(out, input->data + input->position, count);
  input->position += count;
}

// What the decoder delivers per pixel once its transformations are set up.
enum class PngTarget { Indices, Bgr, Bgra };

struct PngLayout {
  uint32_t width = 0;
  uint32_t height = 0;
  int bitDepth = 0;
  int colorType = 0;
  PngTarget target = PngTarget::Bgra;
  size_t rowBytes = 0;
  int paletteCount = 0;
  RGBQuad palette[256] = {};
};

// Owns the libpng read structures for the frame that decodes.
class PngReadSession {
 public:
  explicit PngReadSession(std::span<const uint8_t> bytes) {
    input = {bytes.data(), bytes.size(), 0};
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png) throw std::bad_alloc();
    info = png_create_info_struct(png);
    if (!info) {
      png_destroy_read_struct(&png, nullptr, nullptr);
      throw std::bad_alloc();
    }
    png_set_read_fn(png, &input, ReadFromMemory);
  }
  ~PngReadSession() { png_destroy_read_struct(&png, &info, nullptr); }
  PngReadSession(const PngReadSession&) = delete;
  PngReadSession& operator=(const PngReadSession&) = delete;

  png_structp png = nullptr;
  png_infop info = nullptr;
  PngInput input;
};

void GreyPalette(int levels, PngLayout* layout) {
  layout->paletteCount = levels;
  for (int i = 0; i < levels; ++i) {
    uint8_t v = uint8_t(i * 255 / (levels - 1));
    layout->palette[i] = {v, v, v, 0};
  }
}

void CopyPngPalette(png_structp png, png_infop info, PngLayout* layout) {
  png_colorp colors = nullptr;
  int count = 0;
  if (!png_get_PLTE(png, info, &colors, &count)) return;
  layout->paletteCount = std::clamp(count, 0, 256);
  for (int i = 0; i < layout->paletteCount; ++i)
    layout->palette[i] = {colors[i].blue, colors[i].green, colors[i].red, 0};
}

// Sets up the transformations that give the natural format (or BGRA when rgba is set).
void ChooseTarget(png_structp png, png_infop info, bool rgba, PngLayout* layout) {
  bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  int type = layout->colorType;
  png_set_strip_16(png);
  if (!rgba && type == PNG_COLOR_TYPE_PALETTE) {
    layout->target = PngTarget::Indices;
    png_set_packing(png);
    CopyPngPalette(png, info, layout);
  } else if (!rgba && type == PNG_COLOR_TYPE_GRAY && !transparency) {
    layout->target = PngTarget::Indices;
    png_set_packing(png);
    GreyPalette(layout->bitDepth >= 8 ? 256 : 1 << layout->bitDepth, layout);
  } else if (!rgba && type == PNG_COLOR_TYPE_RGB && !transparency) {
    layout->target = PngTarget::Bgr;
    png_set_bgr(png);
  } else {
    layout->target = PngTarget::Bgra;
    png_set_expand(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !transparency)
      png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
  }
}

bool ReadPngLayout(png_structp png, png_infop info, bool rgba, PngLayout* layout) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxBitmapDimension, kMaxBitmapDimension);
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_read_info(png, info);
  layout->width = png_get_image_width(png, info);
  layout->height = png_get_image_height(png, info);
  layout->bitDepth = png_get_bit_depth(png, info);
  layout->colorType = png_get_color_type(png, info);
  ChooseTarget(png, info, rgba, layout);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout->rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadPngRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

int ChannelsOf(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// Refuses sizes that are too large to hold, or larger than the input could inflate to.
void CheckDecodedSize(const PngLayout& layout, size_t inputSize) {
  int64_t width = layout.width, height = layout.height;
  if (width == 0 || height == 0 || width > kMaxBitmapDimension || height > kMaxBitmapDimension)
    RaiseInvalidPng();
  if (width * height * 4 > kMaxPngDecodeBytes) RaiseInvalidPng();
  int64_t rowBits = width * ChannelsOf(layout.colorType) * layout.bitDepth;
  int64_t filteredBytes = height * (1 + (rowBits + 7) / 8);
  if (filteredBytes > kMaxDeflateRatio * int64_t(inputSize) + 4096) RaiseInvalidPng();
  size_t bytesPerPixel = layout.target == PngTarget::Indices ? 1
                         : layout.target == PngTarget::Bgr   ? 3
                                                             : 4;
  if (layout.rowBytes != bytesPerPixel * layout.width) RaiseInvalidPng();
}

// Palette images and greys of every depth (16-bit grey keeps its high byte) decode to indices.
PixelFormat IndexedFormatOfDepth(int bitDepth) {
  return bitDepth == 1   ? PixelFormat::Bits1
         : bitDepth <= 4 ? PixelFormat::Bits4
                         : PixelFormat::Bits8;
}

TBitmap DecodeWithLibpng(std::span<const uint8_t> png, bool rgba) {
  if (!HasPngSignature(png)) RaiseInvalidPng();
  PngReadSession session(png);
  PngLayout layout;
  if (!ReadPngLayout(session.png, session.info, rgba, &layout)) RaiseInvalidPng();
  CheckDecodedSize(layout, png.size());
  int width = int(layout.width), height = int(layout.height);
  std::vector<png_bytep> rows(layout.height);
  if (layout.target != PngTarget::Indices) {
    TBitmap bitmap(width, height,
                   layout.target == PngTarget::Bgr ? PixelFormat::Bits24 : PixelFormat::Bits32);
    for (int y = 0; y < height; ++y) rows[y] = bitmap.ScanLine(y);
    if (!ReadPngRows(session.png, rows.data())) RaiseInvalidPng();
    return bitmap;
  }
  std::vector<uint8_t> indices(size_t(width) * height);
  for (int y = 0; y < height; ++y) rows[y] = indices.data() + size_t(y) * width;
  if (!ReadPngRows(session.png, rows.data())) RaiseInvalidPng();
  TBitmap bitmap(0, 0, IndexedFormatOfDepth(layout.bitDepth));
  bitmap.SetPalette(std::vector<RGBQuad>(layout.palette, layout.palette + layout.paletteCount));
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) WriteIndexRow(bitmap, y, 0, width, rows[y]);
  return bitmap;
}

// ---- Encoding ----

struct PngOutput {
  std::vector<uint8_t>* bytes = nullptr;
};

void WriteToMemory(png_structp png, png_bytep data, size_t count) {
  auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    output->bytes->insert(output->bytes->end(), data, data + count);
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(png, "out of memory");
}

void FlushMemory(png_structp) {}

// Everything libpng needs to write one picture; the arrays belong to the caller.
struct PngWriteSpec {
  uint32_t width = 0;
  uint32_t height = 0;
  int bitDepth = 8;
  int colorType = PNG_COLOR_TYPE_RGB;
  bool bgr = false;
  const png_color* palette = nullptr;
  int paletteCount = 0;
  const png_byte* transparency = nullptr;
  int transparencyCount = 0;
  png_bytepp rows = nullptr;
};

// Owns the libpng write structures for the frame that encodes.
class PngWriteSession {
 public:
  explicit PngWriteSession(std::vector<uint8_t>& bytes) {
    output.bytes = &bytes;
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png) throw std::bad_alloc();
    info = png_create_info_struct(png);
    if (!info) {
      png_destroy_write_struct(&png, nullptr);
      throw std::bad_alloc();
    }
    png_set_write_fn(png, &output, WriteToMemory, FlushMemory);
  }
  ~PngWriteSession() { png_destroy_write_struct(&png, &info); }
  PngWriteSession(const PngWriteSession&) = delete;
  PngWriteSession& operator=(const PngWriteSession&) = delete;

  png_structp png = nullptr;
  png_infop info = nullptr;
  PngOutput output;
};

bool WritePngImage(png_structp png, png_infop info, const PngWriteSpec* spec) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, spec->width, spec->height, spec->bitDepth, spec->colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (spec->paletteCount > 0) png_set_PLTE(png, info, spec->palette, spec->paletteCount);
  if (spec->transparencyCount > 0)
    png_set_tRNS(png, info, spec->transparency, spec->transparencyCount, nullptr);
  png_write_info(png, info);
  if (spec->bgr) png_set_bgr(png);
  png_write_image(png, spec->rows);
  png_write_end(png, nullptr);
  return true;
}

int HighestIndexUsed(const TBitmap& bitmap) {
  int highest = 0;
  std::vector<uint8_t> row(size_t(bitmap.Width()));
  for (int y = 0; y < bitmap.Height(); ++y) {
    ReadIndexRow(bitmap, y, 0, bitmap.Width(), row.data());
    highest = std::max<int>(highest, *std::max_element(row.begin(), row.end()));
  }
  return highest;
}

// The PLTE entries of an indexed bitmap: its palette, extended to every index that is used.
std::vector<png_color> PngPalette(const TBitmap& bitmap, int minimumCount) {
  int capacity = 1 << bitmap.BitsPerPixel();
  int count = std::min<int>(int(bitmap.Palette().size()), capacity);
  count = std::clamp(std::max({count, HighestIndexUsed(bitmap) + 1, minimumCount}), 1, capacity);
  std::vector<png_color> palette(size_t(count), png_color{0, 0, 0});
  for (int i = 0; i < count && i < int(bitmap.Palette().size()); ++i) {
    const RGBQuad& q = bitmap.Palette()[i];
    palette[i] = {q.red, q.green, q.blue};
  }
  return palette;
}

}  // namespace

bool HasPngSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof(kPngSignature) &&
         std::memcmp(bytes.data(), kPngSignature, sizeof(kPngSignature)) == 0;
}

std::optional<PngHeader> ReadPngHeader(std::span<const uint8_t> png) {
  // Signature, chunk length, "IHDR", then width, height, bit depth and colour type.
  constexpr size_t kIhdrStart = 8 + 8;
  if (!HasPngSignature(png) || png.size() < kIhdrStart + 10) return std::nullopt;
  if (std::memcmp(png.data() + 12, "IHDR", 4) != 0) return std::nullopt;
  PngHeader header;
  header.width = ReadU32BE(png.data() + kIhdrStart);
  header.height = ReadU32BE(png.data() + kIhdrStart + 4);
  header.bitDepth = png[kIhdrStart + 8];
  header.colorType = png[kIhdrStart + 9];
  return header;
}

namespace {

// Calls visit(type) for each chunk in order until it returns true, and stops too at a chunk
// whose length runs past the data (after visiting it). Each step moves forward by a whole chunk
// (12 bytes at least), so the walk ends at the end of the data.
template <class Visit>
void VisitPngChunks(std::span<const uint8_t> png, Visit visit) {
  constexpr size_t kChunkOverhead = 12;  // length, type, CRC
  size_t position = 8;
  while (png.size() - position >= kChunkOverhead) {
    uint64_t length = ReadU32BE(png.data() + position);
    if (visit(std::string_view(reinterpret_cast<const char*>(png.data() + position + 4), 4)))
      return;
    if (length > png.size() - position - kChunkOverhead) return;
    position += kChunkOverhead + size_t(length);
  }
}

}  // namespace

bool HasTransparencyChunk(std::span<const uint8_t> png) {
  bool found = false;
  VisitPngChunks(png, [&](std::string_view type) {
    found = type == "tRNS";
    return found || type == "IDAT" || type == "IEND";
  });
  return found;
}

std::optional<PixelFormat> NaturalPngFormat(std::span<const uint8_t> png) {
  std::optional<PngHeader> header = ReadPngHeader(png);
  if (!header) return std::nullopt;
  bool transparency = HasTransparencyChunk(png);
  switch (header->colorType) {
    case PNG_COLOR_TYPE_PALETTE:
      return IndexedFormatOfDepth(header->bitDepth);
    case PNG_COLOR_TYPE_GRAY:
      return transparency ? PixelFormat::Bits32 : IndexedFormatOfDepth(header->bitDepth);
    case PNG_COLOR_TYPE_RGB:
      return transparency ? PixelFormat::Bits32 : PixelFormat::Bits24;
    default:
      return PixelFormat::Bits32;
  }
}

bool HasCompletePngChunks(std::span<const uint8_t> png) {
  if (!HasPngSignature(png)) return false;
  bool imageData = false;
  bool end = false;
  VisitPngChunks(png, [&](std::string_view type) {
    imageData = imageData || type == "IDAT";
    end = type == "IEND";
    return end;
  });
  return imageData && end;
}

TBitmap DecodePng(std::span<const uint8_t> png) {
  return DecodeWithLibpng(png, false);
}

bool PngDecodes(std::span<const uint8_t> png) {
  try {
    DecodeWithLibpng(png, false);
    return true;
  } catch (const EInvalidGraphic&) {
    return false;
  }
}

TBitmap DecodePngRgba(std::span<const uint8_t> png) {
  return DecodeWithLibpng(png, true);
}

std::vector<uint8_t> EncodePng(const TBitmap& bitmap, std::optional<int> transparentIndex) {
  if (bitmap.Empty()) throw EInvalidGraphic(kInvalidPng);
  PixelFormat format = bitmap.Format();
  const TBitmap* source = &bitmap;
  TBitmap converted;
  if (format == PixelFormat::Bits15 || format == PixelFormat::Bits16) {
    converted = ConvertFormat(bitmap, PixelFormat::Bits24);
    source = &converted;
  }
  PngWriteSpec spec;
  spec.width = uint32_t(source->Width());
  spec.height = uint32_t(source->Height());
  std::vector<png_color> palette;
  std::vector<png_byte> transparency;
  if (IsIndexedFormat(format)) {
    int capacity = 1 << source->BitsPerPixel();
    bool transparent = transparentIndex && *transparentIndex >= 0 && *transparentIndex < capacity;
    palette = PngPalette(*source, transparent ? *transparentIndex + 1 : 0);
    spec.colorType = PNG_COLOR_TYPE_PALETTE;
    spec.bitDepth = source->BitsPerPixel();
    spec.palette = palette.data();
    spec.paletteCount = int(palette.size());
    if (transparent) {
      transparency.assign(size_t(*transparentIndex + 1), 255);
      transparency[size_t(*transparentIndex)] = 0;
      spec.transparency = transparency.data();
      spec.transparencyCount = int(transparency.size());
    }
  } else {
    spec.colorType = format == PixelFormat::Bits32 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    spec.bgr = true;
  }
  std::vector<png_bytep> rows(size_t(source->Height()));
  for (int y = 0; y < source->Height(); ++y)
    rows[size_t(y)] = const_cast<png_bytep>(source->ScanLine(y));
  spec.rows = rows.data();
  std::vector<uint8_t> bytes;
  PngWriteSession session(bytes);
  if (!WritePngImage(session.png, session.info, &spec)) throw EInvalidGraphic(kInvalidPng);
  return bytes;
}

}  // namespace varnel

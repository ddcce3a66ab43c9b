#include "icons/bitmapfix32.h"

#include <algorithm>
#include <optional>

#include "base/byteorder.h"
#include "base/errors.h"
#include "graphics/bmpcodec.h"
#include "graphics/pictureformats.h"
#include "icons/dibheader.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;
constexpr uint32_t kBiAlphaBitFields = 6;

[[noreturn]] void RaiseInvalid() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

// Where the pixels of a 32-bit file lie and how many bytes it declares for them.
struct PixelExtent {
  size_t start = 0;      // offset of the pixels in the file
  size_t tableEnd = 0;   // end of headers, channel masks and colour table
  int64_t needed = 0;    // bytes the pixel rows take
  int64_t declared = 0;  // bytes the header declares
};

// The extent of an uncompressed or bit-field 32-bit file; nothing for other files (the
// standard reader judges them).
std::optional<PixelExtent> Extent32(std::span<const uint8_t> file) {
  if (file.size() < kFileHeaderSize + 4) return std::nullopt;
  uint32_t headerSize = ReadU32LE(&file[kFileHeaderSize]);
  if (headerSize == kCoreHeaderSize || headerSize < TBitmapInfoHeader::kSize ||
      file.size() - kFileHeaderSize < TBitmapInfoHeader::kSize)
    return std::nullopt;  // a core header's 32-bit data has no declared size to weigh
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(&file[kFileHeaderSize]);
  uint32_t compression = header.biCompression;
  if (header.biBitCount != 32 ||
      (compression != kBiRgb && compression != kBiBitFields && compression != kBiAlphaBitFields))
    return std::nullopt;
  int64_t masks = 0;
  if (compression != kBiRgb && headerSize == TBitmapInfoHeader::kSize)
    masks = compression == kBiAlphaBitFields ? 16 : 12;
  int64_t tableEnd = int64_t(kFileHeaderSize) + headerSize + masks + 4 * int64_t(header.biClrUsed);
  int64_t available = std::max<int64_t>(0, int64_t(file.size()) - tableEnd);
  PixelExtent extent;
  extent.tableEnd = size_t(std::min<int64_t>(tableEnd, int64_t(file.size())));
  uint32_t pixelOffset = ReadU32LE(&file[10]);
  extent.start = pixelOffset ? std::min<size_t>(pixelOffset, file.size()) : extent.tableEnd;
  extent.needed = DibRowBytes(header.biWidth, 32) * std::abs(int64_t(header.biHeight));
  int64_t declared = header.biSizeImage ? int64_t(header.biSizeImage) : extent.needed;
  extent.declared = std::min(declared, available);
  return extent;
}

// The end of a file of another kind: the size its header gives when that is in range.
size_t FileEnd(std::span<const uint8_t> file) {
  uint32_t fileSize = ReadU32LE(&file[2]);
  return fileSize >= kFileHeaderSize && fileSize <= file.size() ? fileSize : file.size();
}

void WriteBitmap32(const TBitmap& bitmap, Stream& stream) {
  uint32_t imageSize = uint32_t(4 * int64_t(bitmap.Width()) * bitmap.Height());
  uint32_t pixelOffset = uint32_t(kFileHeaderSize + TBitmapInfoHeader::kSize);
  uint8_t headers[kFileHeaderSize + TBitmapInfoHeader::kSize] = {'B', 'M'};
  WriteU32LE(headers + 2, imageSize + pixelOffset);
  WriteU32LE(headers + 10, pixelOffset);
  TBitmapInfoHeader info;
  info.biWidth = bitmap.Width();
  info.biHeight = bitmap.Height();
  info.biBitCount = 32;
  info.biSizeImage = imageSize;
  info.Encode(headers + kFileHeaderSize);
  stream.WriteBuffer(headers, sizeof headers);
  stream.WriteBytes(bitmap.Bits());
}

void SaveWithAlpha(const TBitmap& bitmap, Stream& stream) {
  if (bitmap.Format() == PixelFormat::Bits32)
    WriteBitmap32(bitmap, stream);
  else
    stream.WriteBytes(SaveBmp(bitmap));
}

}  // namespace

void TBitmapFix32::LoadFromStream(Stream& stream) {
  int64_t start = stream.Position();
  std::vector<uint8_t> file = stream.ReadBytes(size_t(stream.Remaining()));
  if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M') RaiseInvalid();
  std::span<const uint8_t> bytes(file);
  size_t end = FileEnd(bytes);
  std::optional<PixelExtent> extent = Extent32(bytes);
  if (extent && extent->declared > extent->needed) {
    // Pixels followed by more (a mask): the reader sees the pixels proper only.
    bytes = bytes.first(size_t(std::min<int64_t>(file.size(), extent->start + extent->needed)));
    end = size_t(std::min<int64_t>(file.size(), extent->start + extent->declared));
  }
  TBitmap bitmap = LoadBmp(bytes);
  if (bitmap.Format() == PixelFormat::Bits32 && AllAlphaZero(bitmap)) SetOpaque(bitmap);
  static_cast<TBitmap&>(*this) = std::move(bitmap);
  stream.SetPosition(start + int64_t(end));
}

void TBitmapFix32::SaveToStream(Stream& stream) const {
  SaveWithAlpha(*this, stream);
}

void RegisterBitmapFix32() {
  TPictureFormat format;
  format.description = "Bitmap";
  format.isBitmap = true;
  format.typeWord = "BMP";
  format.load = [](Stream& stream) {
    TBitmapFix32 bitmap;
    bitmap.LoadFromStream(stream);
    return TBitmap(std::move(bitmap));
  };
  format.save = SaveWithAlpha;
  RegisterPictureFormat("bmp", format);
  RegisterClipboardBitmapFormat(std::move(format));
}

}  // namespace varnel

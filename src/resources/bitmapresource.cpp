#include "resources/bitmapresource.h"

#include "base/byteorder.h"
#include "graphics/bmpcodec.h"
#include "icons/dibheader.h"

namespace varnel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr int kDefaultSize = 32;
constexpr int kDefaultBits = 4;

std::vector<uint8_t> FileHeader(size_t fileSize, size_t bitsOffset) {
  std::vector<uint8_t> header(kFileHeaderSize, 0);
  WriteU16LE(&header[0], 0x4D42);
  WriteU32LE(&header[2], uint32_t(fileSize));
  WriteU32LE(&header[10], uint32_t(bitsOffset));
  return header;
}

void SetBytes(MemoryStream& data, std::span<const uint8_t> bytes) {
  data.Clear();
  data.WriteBytes(bytes);
}

}  // namespace

std::vector<uint8_t> TBitmapResourceDetails::DefaultDib() const {
  TBitmapInfoHeader header;
  header.biWidth = kDefaultSize;
  header.biHeight = kDefaultSize;
  header.biBitCount = kDefaultBits;
  std::vector<uint8_t> dib(TBitmapInfoHeader::kSize);
  header.Encode(dib.data());
  dib.insert(dib.end(), SystemPalette16().begin(), SystemPalette16().end());
  dib.resize(dib.size() + kDefaultSize * kDefaultSize * kDefaultBits / 8, 0);
  return dib;
}

void TBitmapResourceDetails::InitNew() {
  SetBytes(Data(), DefaultDib());
}

int TBitmapResourceDetails::GetWidth() const {
  std::span<const uint8_t> bytes = Bytes();
  return bytes.size() >= HeaderOffset() + 8 ? ReadI32LE(&bytes[HeaderOffset() + 4]) : 0;
}

int TBitmapResourceDetails::GetHeight() const {
  std::span<const uint8_t> bytes = Bytes();
  return bytes.size() >= HeaderOffset() + 12 ? ReadI32LE(&bytes[HeaderOffset() + 8]) : 0;
}

PixelFormat TBitmapResourceDetails::GetPixelFormat() const {
  std::span<const uint8_t> bytes = Bytes();
  if (bytes.size() < HeaderOffset() + TBitmapInfoHeader::kSize) return PixelFormat::Custom;
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(&bytes[HeaderOffset()]);
  if (header.biBitCount == 16)
    return header.biCompression == 3 ? PixelFormat::Bits16 : PixelFormat::Bits15;
  return FormatOfBits(header.biBitCount);
}

TBitmap TBitmapResourceDetails::GetImage() const {
  return LoadDib(Bytes());
}

void TBitmapResourceDetails::SetImage(const TBitmap& picture) {
  std::vector<uint8_t> file = SaveBmp(picture);
  SetBytes(Data(), std::span<const uint8_t>(file).subspan(kFileHeaderSize));
}

bool TDIBResourceDetails::SupportsData(std::span<const uint8_t> data) {
  if (data.size() < kFileHeaderSize + 4) return false;
  uint32_t headerSize = ReadU32LE(&data[14]);
  return ReadU16LE(&data[0]) == 0x4D42 && ReadU16LE(&data[6]) == 0 && ReadU16LE(&data[8]) == 0 &&
         (headerSize == 40 || headerSize == 108 || headerSize == 124);
}

void TDIBResourceDetails::InitNew() {
  std::vector<uint8_t> dib = DefaultDib();
  std::vector<uint8_t> file =
      FileHeader(kFileHeaderSize + dib.size(), kFileHeaderSize + TBitmapInfoHeader::kSize + 64);
  file.insert(file.end(), dib.begin(), dib.end());
  SetBytes(Data(), file);
}

TBitmap TDIBResourceDetails::GetImage() const {
  return LoadBmp(Bytes());
}

void TDIBResourceDetails::SetImage(const TBitmap& picture) {
  SetBytes(Data(), SaveBmp(picture));
}

}  // namespace varnel

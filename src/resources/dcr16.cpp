#include "resources/dcr16.h"

#include <algorithm>

#include "base/byteorder.h"
#include "base/errors.h"
#include "icons/dibheader.h"

namespace varnel {

namespace {

constexpr size_t kNameOffset = 3;
constexpr size_t kMaxNameLength = 64;
constexpr size_t kResourceFields = 6;  // u16 memory flags, u32 size

bool IsValidUtf8(std::span<const uint8_t> text) {
  for (size_t i = 0; i < text.size();) {
    uint8_t lead = text[i];
    size_t length = lead < 0x80                   ? 1
                    : lead >= 0xC2 && lead < 0xE0 ? 2
                    : lead >= 0xE0 && lead < 0xF0 ? 3
                    : lead >= 0xF0 && lead < 0xF5 ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((text[i + k] & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// The bytes present from offset on, at most count, made up to count with zeros.
void AppendPadded(std::vector<uint8_t>& out, std::span<const uint8_t> bytes, size_t offset,
                  size_t count) {
  size_t present = offset < bytes.size() ? std::min(count, bytes.size() - offset) : 0;
  out.insert(out.end(), bytes.begin() + int64_t(offset), bytes.begin() + int64_t(offset + present));
  out.resize(out.size() + (count - present), 0);
}

int ColorsOfBitCount(uint16_t bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
  }
  throw Exception("Bad biBitCount");
}

void CheckCompression(const TBitmapInfoHeader& header) {
  switch (header.biCompression) {
    case 0:
    case 3:
      return;
    case 1:
      if (header.biBitCount != 8) throw Exception("RLE8 mismatch");
      return;
    case 2:
      if (header.biBitCount != 4) throw Exception("RLE4 mismatch");
      return;
  }
  throw Exception("Bad biCompression");
}

uint64_t PixelBitsSize(const TBitmapInfoHeader& header) {
  if (header.biSizeImage != 0 || header.biCompression != 0) return header.biSizeImage;
  // Uncompressed bitmaps may leave the size 0; it follows from the dimensions.
  uint64_t rowBytes =
      (uint64_t(std::abs(int64_t(header.biWidth))) * header.biBitCount + 31) / 32 * 4;
  return rowBytes * uint64_t(std::abs(int64_t(header.biHeight)));
}

size_t NameEnd(std::span<const uint8_t> bytes) {
  size_t end = kNameOffset;
  while (end < bytes.size() && bytes[end] != 0) ++end;
  if (end >= bytes.size() || end == kNameOffset || end - kNameOffset > kMaxNameLength)
    throw Exception("DCR name is unrecoverable");
  return end;
}

// The resource as far as the bitmap's bits, validated, with missing bits as zeros.
std::vector<uint8_t> ValidatedCopy(std::span<const uint8_t> bytes, size_t& headerOffset) {
  if (bytes.size() < kNameOffset || bytes[0] != 0xFF || ReadU16LE(&bytes[1]) != 2)
    throw Exception("Header bad: is this a DCR?");
  size_t nameEnd = NameEnd(bytes);
  std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + int64_t(nameEnd) + 1);
  AppendPadded(copy, bytes, nameEnd + 1, kResourceFields);
  headerOffset = copy.size();
  AppendPadded(copy, bytes, headerOffset, TBitmapInfoHeader::kSize);
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(&copy[headerOffset]);
  if (header.biSize != TBitmapInfoHeader::kSize)
    throw Exception("Bad TBITMAPINFOHEADER biSize: " + std::to_string(header.biSize));
  if (header.biPlanes != 1) throw Exception("Bad biPlanes");
  int colors = ColorsOfBitCount(header.biBitCount);
  CheckCompression(header);
  size_t paletteOffset = copy.size();
  AppendPadded(copy, bytes, paletteOffset, size_t(colors) * 4);
  // Missing bits are made up with zeros, but never beyond a few times what the file holds.
  size_t bitsOffset = copy.size();
  uint64_t present = bitsOffset < bytes.size() ? bytes.size() - bitsOffset : 0;
  uint64_t bits = std::min<uint64_t>(PixelBitsSize(header), present + 4 * uint64_t(bytes.size()));
  AppendPadded(copy, bytes, bitsOffset, size_t(bits));
  return copy;
}

}  // namespace

std::string EightBitTextToUtf8(std::span<const uint8_t> text) {
  if (IsValidUtf8(text)) return std::string(text.begin(), text.end());
  std::string out;
  for (uint8_t c : text) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void ImportDcr16(std::span<const uint8_t> bytes, TIconList& library) {
  size_t headerOffset = 0;
  std::vector<uint8_t> copy = ValidatedCopy(bytes, headerOffset);
  size_t nameEnd = NameEnd(copy);
  std::string name = EightBitTextToUtf8(
      std::span<const uint8_t>(copy).subspan(kNameOffset, nameEnd - kNameOffset));
  uint32_t size = ReadU32LE(&copy[nameEnd + 1 + 2]);
  SpanStream dib(std::span<const uint8_t>(copy).subspan(headerOffset));
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().AddFromBitmapStreams(dib, nullptr, 0, std::min<int64_t>(size, dib.Size()));
  library.AddIcon(name, std::move(icon));
}

}  // namespace varnel

#include "icons/xbmimage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/canvas.h"
#include "icons/subiconlist.h"
#include "icons/xsourcetext.h"

namespace varnel {

namespace {

constexpr int kBytesPerLine = 12;

// Inverts and reverses the bits of a byte: XBM stores a set bit for black, leftmost pixel in
// the lowest bit; the bitmap the other way round.
uint8_t FlipByte(uint8_t value) {
  uint8_t reversed = 0;
  for (int bit = 0; bit < 8; ++bit)
    if (value & (1 << bit)) reversed |= uint8_t(0x80 >> bit);
  return uint8_t(~reversed);
}

// The decimal number after the first occurrence of keyword, or -1 when it does not occur.
int64_t NumberAfter(std::string_view text, std::string_view keyword) {
  size_t at = text.find(keyword);
  if (at == std::string_view::npos) return -1;
  const char* begin = text.data() + at + keyword.size();
  int64_t value = 0;
  auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  return error == std::errc() && value < (int64_t(1) << 31) ? value : 0;
}

bool IsValueCharacter(char c) {
  return std::isxdigit(uint8_t(c)) || c == 'x' || c == 'X';
}

// One run of value characters as a C number: "0x.." hexadecimal, otherwise decimal.
uint32_t RunValue(std::string_view run) {
  int base = 10;
  if (run.size() > 1 && run[0] == '0' && (run[1] == 'x' || run[1] == 'X')) {
    run.remove_prefix(2);
    base = 16;
  }
  uint32_t value = 0;
  std::from_chars(run.data(), run.data() + run.size(), value, base);
  return value;
}

// X10 bitmaps hold 16-bit values (rows of whole values), low byte first.
bool IsX10(std::string_view text, size_t bitsAt) {
  size_t declaration = text.rfind("static", bitsAt);
  if (declaration == std::string_view::npos) declaration = 0;
  return text.substr(declaration, bitsAt - declaration).find("short") != std::string_view::npos;
}

bool HasTransparentPixel(const TBitmap& mask) {
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      if (mask.GetIndex(x, y)) return true;
  return false;
}

// Inverts the pixels of picture under the transparent pixels of mask.
void InvertUnderMask(TBitmap& picture, const TBitmap& mask) {
  if (mask.Width() != picture.Width() || mask.Height() != picture.Height()) return;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (mask.GetIndex(x, y)) picture.SetIndex(x, y, 1 - picture.GetIndex(x, y));
}

}  // namespace

void TXBMImage::LoadFromBytes(std::span<const uint8_t> bytes) {
  if (bytes.empty()) throw EInvalidGraphic("Zero file");
  std::string text = FilterPictureSource(bytes);
  int64_t width = NumberAfter(text, "_width ");
  int64_t height = NumberAfter(text, "_height ");
  if (width < 1 || width > 65534 || height < 1 || height > 65535)
    throw EInvalidGraphic("Invalid XPM image data, err. 4");
  size_t bitsAt = text.find("_bits[]");
  size_t end = bitsAt == std::string::npos ? text.size() : bitsAt + 7;
  bool x10 = bitsAt != std::string::npos && IsX10(text, bitsAt);
  int64_t rowBytes = x10 ? (width + 15) / 16 * 2 : (width + 7) / 8;
  // Every byte of a complete file takes at least one character of its text: a larger size is
  // refused before the picture is made.
  if (rowBytes * height > int64_t(text.size()))
    throw EInvalidGraphic("Invalid XPM image data, err. 4");

  HotSpotX = int32_t(NumberAfter(text, "_x_hot "));
  HotSpotY = int32_t(NumberAfter(text, "_y_hot "));
  size_t nameEnd = text.find("_width ");
  size_t nameStart = text.rfind(' ', nameEnd);
  VarName =
      nameStart == std::string::npos ? "" : text.substr(nameStart + 1, nameEnd - nameStart - 1);
  SetSize(int(width), int(height));
  std::fill(Bits().begin(), Bits().end(), uint8_t(0xFF));  // bits the file lacks stay white

  int64_t index = 0;
  auto put = [&](uint8_t value) {
    if (index >= rowBytes * height) throw EInvalidGraphic("Invalid XPM image data, err. 5");
    ScanLine(int(index / rowBytes))[index % rowBytes] = FlipByte(value);
    ++index;
  };
  for (size_t at = end; at < text.size();) {
    if (!IsValueCharacter(text[at])) {
      ++at;
      continue;
    }
    size_t runEnd = at;
    while (runEnd < text.size() && IsValueCharacter(text[runEnd])) ++runEnd;
    uint32_t value = RunValue(std::string_view(text).substr(at, runEnd - at));
    put(uint8_t(value));
    if (x10) put(uint8_t(value >> 8));
    at = runEnd;
  }
}

void TXBMImage::LoadFromFile(const std::string& fileName) {
  std::optional<TXBMImage> mask;
  std::string maskName = fileName + ".mask";
  if (std::filesystem::exists(maskName)) {
    mask.emplace();
    mask->LoadFromBytes(ReadWholeFile(maskName));
  }
  LoadFromBytes(ReadWholeFile(fileName));
  MaskBitmap.reset();
  if (!mask) return;
  MaskBitmap = static_cast<const TBitmap&>(*mask);
  InvertUnderMask(*this, *MaskBitmap);
  if (HotSpotX < 0 || HotSpotY < 0) {
    HotSpotX = mask->HotSpotX;
    HotSpotY = mask->HotSpotY;
  }
}

std::string TXBMImage::SourceText(const TBitmap& picture, const std::string& arrayName) const {
  std::string name = CleanPictureName(VarName);
  std::string text = "#define " + name + "_width " + std::to_string(picture.Width()) + "\n" +
                     "#define " + name + "_height " + std::to_string(picture.Height());
  if (HotSpotX >= 0 && HotSpotY >= 0)
    text += "\n#define " + name + "_x_hot " + std::to_string(HotSpotX) + "\n#define " + name +
            "_y_hot " + std::to_string(HotSpotY);
  text += "\nstatic char " + arrayName + "[] = {\n  ";
  int rowBytes = (picture.Width() + 7) / 8;
  int lastBits = picture.Width() % 8;
  int written = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int i = 0; i < rowBytes; ++i) {
      uint8_t value = FlipByte(picture.ScanLine(y)[i]);
      if (i == rowBytes - 1 && lastBits) value &= uint8_t((1 << lastBits) - 1);
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%.2x,", value);
      if (written && written % kBytesPerLine == 0) text += "\n  ";
      text += hex;
      ++written;
    }
  text.back() = '\n';
  return text + "};";
}

void TXBMImage::SaveToFile(const std::string& fileName) const {
  auto write = [](const std::string& path, const std::string& text) {
    WriteFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  };
  std::string name = CleanPictureName(VarName);
  std::string maskName = fileName + ".mask";
  bool withMask = MaskBitmap && HasTransparentPixel(*MaskBitmap);
  if (!withMask) {
    write(fileName, SourceText(*this, name + "_bits"));
    std::error_code ignored;
    std::filesystem::remove(maskName, ignored);
    return;
  }
  TBitmap picture = *this;
  InvertUnderMask(picture, *MaskBitmap);
  write(maskName, SourceText(*MaskBitmap, name + "_mask_bits"));
  write(fileName, SourceText(picture, name + "_bits"));
}

void TXBMImage::Assign(const TSubIcon& source) {
  TBitmap color, mask;
  source.GetBitmaps(nullptr, &color, clNone, &mask);
  static_cast<TBitmap&>(*this) = ConvertFormat(color, PixelFormat::Bits1);
  MaskBitmap = mask.Format() == PixelFormat::Bits1 ? mask : ConvertFormat(mask, PixelFormat::Bits1);
  HotSpotX = int32_t(source.HotSpot() & 0xFFFF);
  HotSpotY = int32_t(source.HotSpot() >> 16);
}

void TXBMImage::AddToIcon(TSubIconList& images) const {
  images.AddFromBitmap(*this, MaskBitmap ? &*MaskBitmap : nullptr, 0);
  bool hasHotSpot = HotSpotX >= 0 && HotSpotY >= 0;
  images[images.Count() - 1]->SetHotSpot(
      hasHotSpot ? uint32_t(HotSpotX & 0xFFFF) | (uint32_t(HotSpotY & 0xFFFF) << 16) : 0);
}

}  // namespace varnel

#include "platform/ansitext.h"

#include <array>
#include <cstdint>

#include "platform/utf8.h"

namespace varnel {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the upper half equals Latin-1.
constexpr std::array<char32_t, 32> kUpperControlRange = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

bool IsValidUtf8(std::string_view text) {
  char32_t code = 0;
  for (size_t at = 0, length = 0; at < text.size(); at += length)
    if ((length = DecodeUtf8(text, at, code)) == 0) return false;
  return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char c : text) {
    uint8_t byte = uint8_t(c);
    if (byte >= 0x80 && byte < 0xA0) {
      AppendUtf8(out, kUpperControlRange[byte - 0x80]);
    } else {
      AppendUtf8(out, byte);
    }
  }
  return out;
}

std::string TextFromFileBytes(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Windows1252ToUtf8(bytes);
}

}  // namespace varnel

#include "platform/ansitext.h"

#include <array>
#include <cstdint>

namespace varnel {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the upper half equals Latin-1.
constexpr std::array<char32_t, 32> kUpperControlRange = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

// Length of the sequence a lead byte starts and the smallest code point it may encode.
bool DescribeLeadByte(uint8_t lead, size_t& length, char32_t& minimum) {
  if (lead < 0x80) return length = 1, minimum = 0, true;
  if ((lead & 0xE0) == 0xC0) return length = 2, minimum = 0x80, true;
  if ((lead & 0xF0) == 0xE0) return length = 3, minimum = 0x800, true;
  if ((lead & 0xF8) == 0xF0) return length = 4, minimum = 0x10000, true;
  return false;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    size_t length;
    char32_t minimum;
    uint8_t lead = uint8_t(text[i]);
    if (!DescribeLeadByte(lead, length, minimum) || i + length > text.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      uint8_t next = uint8_t(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
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

#include "resources/utf16text.h"

#include <algorithm>

#include "base/byteorder.h"
#include "platform/utf8.h"

namespace varnel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += char16_t(c);
  } else {
    c -= 0x10000;
    out += char16_t(0xD800 | (c >> 10));
    out += char16_t(0xDC00 | (c & 0x3FF));
  }
}

bool IsHighSurrogate(uint32_t u) {
  return u >= 0xD800 && u < 0xDC00;
}
bool IsLowSurrogate(uint32_t u) {
  return u >= 0xDC00 && u < 0xE000;
}

// Length of the UTF-8 sequence a lead byte opens, 0 for a byte that cannot open one.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

// Decodes one sequence at text[i]; advances i past what it consumed.
char32_t DecodeUtf8(const std::string& text, size_t& i) {
  unsigned char lead = (unsigned char)text[i];
  size_t length = SequenceLength(lead);
  if (length == 0 || i + length > text.size()) {
    ++i;
    return kReplacement;
  }
  char32_t c = length == 1 ? lead : (lead & (0xFF >> (length + 1)));
  for (size_t k = 1; k < length; ++k) {
    unsigned char next = (unsigned char)text[i + k];
    if ((next & 0xC0) != 0x80) {
      i += k;
      return kReplacement;
    }
    c = (c << 6) | (next & 0x3F);
  }
  i += length;
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return kReplacement;
  return c;
}

}  // namespace

std::string Utf16LeToUtf8(std::span<const uint8_t> bytes, size_t unitCount) {
  unitCount = std::min(unitCount, bytes.size() / 2);
  std::string out;
  out.reserve(unitCount);
  for (size_t i = 0; i < unitCount; ++i) {
    uint32_t unit = ReadU16LE(&bytes[2 * i]);
    if (IsHighSurrogate(unit) && i + 1 < unitCount) {
      uint32_t low = ReadU16LE(&bytes[2 * i + 2]);
      if (IsLowSurrogate(low)) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (IsHighSurrogate(unit) || IsLowSurrogate(unit)) ? kReplacement : unit);
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) AppendUtf16(out, DecodeUtf8(text, i));
  return out;
}

}  // namespace varnel

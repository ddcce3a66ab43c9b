#include "search/htmltext.h"

#include <array>
#include <cstdint>
#include <utility>

namespace varnel {

namespace {

constexpr uint32_t kReplacementCharacter = 0xFFFD;
constexpr uint32_t kLastCodePoint = 0x10FFFF;
// Digits beyond this many cannot name a character; the value is then out of range.
constexpr size_t kMaxReferenceDigits = 8;

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

int DigitValue(char c, int radix) {
  int v = c >= '0' && c <= '9'   ? c - '0'
          : c >= 'a' && c <= 'f' ? c - 'a' + 10
          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                 : 99;
  return v < radix ? v : -1;
}

// A numeric reference after "&#" in text: the characters it spans up to and including ";" and
// its code point, or 0 characters when it is none.
std::pair<size_t, uint32_t> NumericReference(std::string_view text) {
  int radix = 10;
  size_t i = 0;
  if (!text.empty() && (text[0] == 'x' || text[0] == 'X')) radix = 16, i = 1;
  size_t first = i;
  uint64_t value = 0;
  for (; i < text.size() && DigitValue(text[i], radix) >= 0; ++i)
    if (i - first < kMaxReferenceDigits)
      value = value * radix + DigitValue(text[i], radix);
    else
      value = kLastCodePoint + 1;
  if (i == first || i >= text.size() || text[i] != ';') return {0, 0};
  bool valid = value > 0 && value <= kLastCodePoint && !(value >= 0xD800 && value <= 0xDFFF);
  return {i + 1, valid ? uint32_t(value) : kReplacementCharacter};
}

constexpr std::array<std::pair<std::string_view, char>, 5> kNamedReferences{
    {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}}};

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return lower;
}

std::string DecodeCharacterReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      out += text[i++];
      continue;
    }
    std::string_view rest = text.substr(i + 1);
    if (rest.starts_with('#')) {
      auto [length, codePoint] = NumericReference(rest.substr(1));
      if (length > 0) {
        AppendUtf8(out, codePoint);
        i += 2 + length;
        continue;
      }
    }
    bool named = false;
    for (auto [name, c] : kNamedReferences) {
      if (rest.starts_with(name)) {
        out += c;
        i += 1 + name.size();
        named = true;
        break;
      }
    }
    if (!named) out += text[i++];
  }
  return out;
}

}  // namespace varnel

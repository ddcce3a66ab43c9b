#include "platform/casefold.h"

#include <clocale>
#include <cstdint>
#include <cstring>
#include <cwctype>

#include <locale.h>

namespace varnel {

namespace {

// The lower-case mapping of characters comes from the C.UTF-8 locale, whatever locale the
// process runs in, so that folding is the same for every user.
locale_t UnicodeLocale() {
  static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
  return locale;
}

// Decodes one UTF-8 character at text[at]; returns its length, 0 for an invalid sequence.
size_t DecodeUtf8(std::string_view text, size_t at, char32_t& code) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  size_t length = lead < 0x80                   ? 1
                  : lead >= 0xF0 && lead < 0xF5 ? 4
                  : lead >= 0xE0                ? 3
                  : lead >= 0xC2 && lead < 0xE0 ? 2
                                                : 0;
  if (length == 0 || at + length > text.size()) return 0;
  code = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
  return length;
}

void EncodeUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xF0 | (code >> 18));
    out += char(0x80 | ((code >> 12) & 0x3F));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

char32_t LowerCodePoint(char32_t code) {
  if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + 32 : code;
  locale_t locale = UnicodeLocale();
  return locale ? char32_t(towlower_l(wint_t(code), locale)) : code;
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    char32_t code = 0;
    size_t length = DecodeUtf8(text, at, code);
    if (length == 0) {
      out += text[at++];
      continue;
    }
    EncodeUtf8(LowerCodePoint(code), out);
    at += length;
  }
  return out;
}

bool SameTextFolded(std::string_view a, std::string_view b) {
  return FoldCase(a) == FoldCase(b);
}

int CompareTextFolded(std::string_view a, std::string_view b) {
  return std::strcoll(FoldCase(a).c_str(), FoldCase(b).c_str());
}

}  // namespace varnel

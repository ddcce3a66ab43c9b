#include "platform/casefold.h"

#include "platform/utf8.h"

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
    AppendUtf8(out, LowerCodePoint(code));
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

#include "icons/xsourcetext.h"

#include <cctype>

namespace varnel {

namespace {

// Keeps printable characters, turns tabs into blanks, drops other control characters.
void AppendFiltered(std::string& text, uint8_t c) {
  if (c == '\t')
    text += ' ';
  else if (c >= 32)
    text += char(c);
}

}  // namespace

std::string FilterPictureSource(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size());
  bool quoted = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint8_t c = bytes[i];
    if (!quoted && c == '/' && i + 1 < bytes.size() && bytes[i + 1] == '*') {
      size_t end = i + 2;
      while (end + 1 < bytes.size() && !(bytes[end] == '*' && bytes[end + 1] == '/')) ++end;
      i = end + 1;  // past the closing "*/", or past the end of an unclosed comment
      continue;
    }
    // A line break also ends a quoted string, so that one stray quote does not hide the rest.
    if (c == '"') quoted = !quoted;
    if (c == '\n') quoted = false;
    AppendFiltered(text, c);
  }
  return text;
}

std::string CleanPictureName(const std::string& name) {
  std::string clean;
  for (unsigned char c : name) {
    char lower = char(std::tolower(c));
    bool kept = std::isdigit(c) || lower == '_' || (lower >= 'a' && lower <= 'z');
    clean += kept ? lower : '_';
  }
  if (clean.empty()) return "noname";
  if (clean[0] != '_' && !(clean[0] >= 'a' && clean[0] <= 'z')) clean.insert(0, "s");
  return clean;
}

}  // namespace varnel

#include "collection/matchpattern.h"

#include <algorithm>

#include "platform/utf8.h"

namespace varnel {

namespace {

using Chars = std::u32string;

// The characters of UTF-8 text; bytes that are no valid UTF-8 stand for themselves.
Chars Decode(std::string_view text) {
  Chars chars;
  chars.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    char32_t c = 0;
    size_t length = DecodeUtf8(text, at, c);
    if (length == 0) {
      c = static_cast<unsigned char>(text[at]);
      length = 1;
    }
    chars.push_back(c);
    at += length;
  }
  return chars;
}

// The letters of the Cyrillic code page: А..я, Ё and ё.
bool IsCyrillicLetter(char32_t c) {
  return (c >= U'\u0410' && c <= U'\u044F') || c == U'\u0401' || c == U'\u0451';
}

bool IsLetter(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsCyrillicLetter(c);
}

char32_t ToLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c >= U'\u0410' && c <= U'\u042F') return c + 0x20;
  if (c == U'\u0401') return U'\u0451';
  return c;
}

bool CharMatches(char32_t name, char32_t pattern) {
  switch (pattern) {
    case '?':
      return IsLetter(name);
    case '#':
      return name >= '0' && name <= '9';
    case '@':
      return true;
    default:
      return name == pattern;
  }
}

// Whether segment matches name at position at, character by character.
bool SegmentMatchesAt(const Chars& name, size_t at, std::u32string_view segment) {
  if (at > name.size() || name.size() - at < segment.size()) return false;
  for (size_t i = 0; i < segment.size(); ++i)
    if (!CharMatches(name[at + i], segment[i])) return false;
  return true;
}

bool MatchChars(const Chars& name, const Chars& pattern) {
  if (name == pattern || pattern == U"*") return true;
  if (name.empty() || pattern.empty()) return false;
  size_t at = 0;
  size_t p = 0;
  while (p < pattern.size()) {
    if (pattern[p] != '*') {
      if (at >= name.size() || !CharMatches(name[at], pattern[p])) return false;
      ++at;
      ++p;
      continue;
    }
    size_t next = pattern.find('*', p + 1);
    std::u32string_view segment(pattern.data() + p + 1,
                                (next == Chars::npos ? pattern.size() : next) - p - 1);
    if (next == Chars::npos)
      return segment.empty() || (name.size() >= segment.size() + at &&
                                 SegmentMatchesAt(name, name.size() - segment.size(), segment));
    while (!SegmentMatchesAt(name, at, segment)) {
      if (at >= name.size()) return false;
      ++at;
    }
    at += segment.size();
    p = next;
  }
  return at == name.size();
}

}  // namespace

bool MatchPattern(std::string_view name, std::string_view pattern, bool ignoreCase) {
  Chars n = Decode(name), p = Decode(pattern);
  if (ignoreCase) {
    std::transform(n.begin(), n.end(), n.begin(), ToLower);
    std::transform(p.begin(), p.end(), p.begin(), ToLower);
  }
  return MatchChars(n, p);
}

std::vector<std::string> SplitMask(std::string_view mask) {
  std::vector<std::string> patterns;
  while (!mask.empty()) {
    size_t end = std::min(mask.find(';'), mask.size());
    if (end > 0) patterns.emplace_back(mask.substr(0, end));
    mask.remove_prefix(std::min(end + 1, mask.size()));
  }
  return patterns;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  for (const std::string& pattern : SplitMask(mask))
    if (MatchPattern(name, pattern, true)) return true;
  return false;
}

}  // namespace varnel

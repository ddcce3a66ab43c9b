// The address operations of the page scan and the Internet commands: folder address, site
// root, favicon, extension and file name of an address, and the e-mail word of a text.

#include <algorithm>

#include "search/htmltext.h"
#include "search/weblinks.h"

namespace varnel {

namespace {

constexpr std::string_view kSchemeMark = "://";
// The shortest host SiteRoot accepts, in characters.
constexpr size_t kMinHostLength = 4;

bool IsHostCharacter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '@' || c == 0xA8 || c == 0xB8 || c >= 0xC0;
}

bool IsFolderAddressCharacter(unsigned char c) {
  return c >= 0x21 && c <= 0x7E && c != ':' && c != '@';
}

bool IsWordBoundary(unsigned char c) {
  return c <= 0x20 || c == ',' || c == ';' || c == '<' || c == '>' || c == '?';
}

bool IsEmailCharacter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// Deletes the text in front of the first "http://", "ftp://" or "https://" (each in turn), so
// that an address carried inside another text is what remains.
std::string StripInFrontOfScheme(std::string s) {
  for (std::string_view scheme : {"http://", "ftp://", "https://"}) {
    size_t at = LowerAscii(s).find(scheme);
    if (at != std::string::npos && at > 0) s.erase(0, at);
  }
  return s;
}

// The length of the front of s from start on whose characters all pass the test.
template <typename Test>
size_t SpanOf(std::string_view s, size_t start, Test test) {
  size_t i = start;
  while (i < s.size() && test(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// The path of an address: without fragment, query, scheme and authority.
std::string_view AddressPath(std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  size_t mark = address.find(kSchemeMark);
  if (mark == std::string_view::npos) return address;
  size_t path = address.find('/', mark + kSchemeMark.size());
  return path == std::string_view::npos ? std::string_view() : address.substr(path);
}

// A file name whose last extension survives when the name is cut to its largest size; dots
// the cut leaves before the extension go, so that the cut makes no "..".
std::string LimitFileName(std::string name) {
  if (name.size() <= kMaxUrlFileName) return name;
  size_t dot = name.rfind('.');
  std::string extension =
      dot != std::string::npos && name.size() - dot <= 16 ? name.substr(dot) : std::string();
  std::string stem = name.substr(0, kMaxUrlFileName - extension.size());
  while (!extension.empty() && stem.ends_with('.')) stem.pop_back();
  return stem + extension;
}

}  // namespace

bool IsWebAddress(std::string_view address) {
  std::string lower = LowerAscii(address.substr(0, 8));
  return lower.starts_with("http://") || lower.starts_with("https://") ||
         lower.starts_with("ftp://");
}

std::string PageBaseUrl(const std::string& address) {
  std::string s = address;
  if (s.find(kSchemeMark) == std::string::npos) s = "http://" + s;
  if (s.starts_with("www.")) s = "http://" + s;
  s = StripInFrontOfScheme(s);
  size_t c = s.find(kSchemeMark);
  if (size_t again = s.find(":/", c + 2); again != std::string::npos) s.erase(again);
  size_t d = s.find('.');
  if (d == std::string::npos || c >= d) return {};
  std::string r = s.substr(0, SpanOf(s, c + 1, IsFolderAddressCharacter));
  if (d + 1 >= r.size()) return {};
  size_t slash = r.rfind('/');
  if (slash != std::string::npos && slash >= d) r.erase(slash + 1);
  if (!r.ends_with('/')) r += '/';
  return r;
}

std::string SiteRoot(const std::string& address) {
  std::string s = address;
  if (s.starts_with("www.") || s.find(kSchemeMark) == std::string::npos) s = "http://" + s;
  s = StripInFrontOfScheme(s);
  size_t host = s.find(kSchemeMark) + kSchemeMark.size();
  size_t end = SpanOf(s, host, IsHostCharacter);
  std::string r = s.substr(0, end);
  bool userName = r.find('@', host) != std::string::npos;
  if (r.find('.') == std::string::npos || userName) {
    r.clear();
    std::string word = EmailAround(s);
    size_t at = word.find('@');
    if (at != std::string::npos && at > 0) {
      std::string after = "http://" + word.substr(at + 1);
      size_t cut = SpanOf(after, 7, [](unsigned char c) { return IsHostCharacter(c) && c != '@'; });
      r = after.substr(0, cut);
      if (r.find('.') == std::string::npos) r.clear();
    }
  }
  size_t mark = r.find(kSchemeMark);
  if (mark == std::string::npos || r.size() < mark + kSchemeMark.size() + kMinHostLength) return {};
  if (r.ends_with('.')) r.pop_back();
  return r;
}

std::string FaviconUrl(const std::string& address) {
  std::string root = SiteRoot(address);
  return root.empty() ? root : root + "/favicon.ico";
}

std::string UrlExtension(const std::string& address) {
  std::string_view path = AddressPath(address);
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string_view extension = path.substr(dot + 1);
  if (extension.find_first_of("/\\:") != std::string_view::npos) return {};
  return LowerAscii(extension);
}

std::string UrlFileName(const std::string& address) {
  std::string_view path = AddressPath(address);
  size_t cut = path.find_last_of("/:\\");
  std::string_view last = cut == std::string_view::npos ? path : path.substr(cut + 1);
  std::string name;
  for (char c : last) {
    bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    bool repeatedDot = c == '.' && name.ends_with('.');
    if (!control && !repeatedDot) name += c;
  }
  name = LimitFileName(name);
  return name == "." ? std::string() : name;
}

std::string EmailAround(std::string_view text) {
  size_t p = text.find('@');
  if (p == std::string_view::npos || p + 1 == text.size()) return {};
  if (p == 0)
    p = text.find('@', 1);
  else if (!IsEmailCharacter(static_cast<unsigned char>(text[p + 1])))
    p = text.find('@', p + 1);
  if (p == std::string_view::npos) return {};
  size_t start = p;
  while (start > 0 && !IsWordBoundary(static_cast<unsigned char>(text[start - 1]))) --start;
  size_t end = SpanOf(text, p, [](unsigned char c) { return !IsWordBoundary(c); });
  return std::string(text.substr(start, end - start));
}

}  // namespace varnel

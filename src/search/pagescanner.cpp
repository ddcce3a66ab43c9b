#include "search/pagescanner.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "search/htmltext.h"
#include "search/urlresolution.h"
#include "search/weblinks.h"

namespace varnel {

namespace {

// The characters that end an unquoted value and a bare address.
constexpr std::string_view kStopCharacters("\0\t \"',;<>", 9);
// Image sizes accepted for icons, and how far width and height may differ.
constexpr int kMinImageSide = 11;
constexpr int kMaxImageSide = 128;
constexpr int kMaxSideDifference = 20;
// More digits than this make a size that is out of range anyway.
constexpr size_t kMaxSizeDigits = 6;

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

// The number formed by the digits right after the first occurrence of key, or -1.
int SizeAfter(const std::string& tag, std::string_view key) {
  size_t at = tag.find(key);
  if (at == std::string::npos) return -1;
  size_t start = at + key.size();
  size_t end = start;
  while (end < tag.size() && tag[end] >= '0' && tag[end] <= '9') ++end;
  if (end == start) return -1;
  if (end - start > kMaxSizeDigits) return kMaxImageSide + 1;
  int value = 0;
  std::from_chars(tag.data() + start, tag.data() + end, value);
  return value;
}

bool IsIconSide(int side) {
  return side >= kMinImageSide && side <= kMaxImageSide;
}

// Replaces "http%3A//" (a carried address written escaped) by "http://", then keeps only the
// last of several addresses written one after another.
std::string CarriedAddress(std::string link) {
  for (std::string_view escaped : {"http%3A//", "http%3a//", "https%3A//", "https%3a//"}) {
    std::string plain = std::string(escaped.substr(0, escaped.find('%'))) + "://";
    ReplaceAll(link, escaped, plain);
  }
  std::string lower = LowerAscii(link);
  size_t carried = std::min(lower.find("http://", 1), lower.find("https://", 1));
  if (carried != std::string::npos) link.erase(0, carried);
  return link;
}

}  // namespace

bool AcceptImageTag(std::string_view tag, std::string& src) {
  std::string t(tag);
  std::replace(t.begin(), t.end(), '"', ' ');
  std::replace(t.begin(), t.end(), '\'', ' ');
  ReplaceAll(t, "  ", " ");
  ReplaceAll(t, "= ", "=");
  ReplaceAll(t, " =", "=");
  int width = SizeAfter(t, "width=");
  int height = SizeAfter(t, "height=");
  src.clear();
  if (size_t at = t.find("src="); at != std::string::npos) {
    size_t start = at + 4;
    src = t.substr(start, t.find_first_of(" >", start) - start);
  }
  size_t gif = src.find(".gif", 1);
  size_t png = src.find(".png", 1);
  if (gif == std::string::npos && png == std::string::npos) return false;
  if (width == -1 && height == -1) return true;
  return IsIconSide(width) && IsIconSide(height) && std::abs(width - height) < kMaxSideDifference;
}

std::string PageScanner::JoinLines(std::string_view pageText) {
  std::string joined;
  joined.reserve(pageText.size());
  size_t start = 0;
  while (start < pageText.size()) {
    size_t end = pageText.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = pageText.size();
    std::string line(pageText.substr(start, end - start));
    std::replace(line.begin(), line.end(), '\t', ' ');
    std::string_view content = Trimmed(line);
    if (!content.empty()) {
      if (!joined.empty() && line.front() == ' ' && !joined.ends_with(' ')) joined += ' ';
      joined += content;
      if (line.back() == ' ') joined += ' ';
    }
    bool crlf = end + 1 < pageText.size() && pageText[end] == '\r' && pageText[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  return joined;
}

PageScanner::PageScanner(std::string_view pageText, const std::string& pageAddress, bool takeImages)
    : text_(JoinLines(pageText)), lower_(LowerAscii(text_)), takeImages_(takeImages) {
  base_ = DocumentBase(pageAddress);
}

std::string PageScanner::DocumentBase(const std::string& pageAddress) const {
  std::string page(WithoutFragment(pageAddress));
  if (page.find("://") == std::string::npos) page = "http://" + page;
  size_t tag = lower_.find("<base ");
  if (tag == std::string::npos) return page;
  size_t href = lower_.find(" href=", tag);
  if (href == std::string::npos || href > lower_.find('>', tag)) return page;
  std::string value = DecodeCharacterReferences(HrefPiece(href).text);
  std::string base = ResolveReference(page, Trimmed(value));
  return IsWebAddress(base) ? std::string(WithoutFragment(base)) : page;
}

size_t PageScanner::FindFrom(Finder& finder) {
  if (!finder.searched || (finder.found != std::string::npos && finder.found < pos_)) {
    finder.found = lower_.find(finder.needle, pos_);
    finder.searched = true;
  }
  return finder.found;
}

PageScanner::Piece PageScanner::StopPiece(size_t start) const {
  size_t stop = text_.find_first_of(kStopCharacters, start);
  if (stop == std::string::npos) return {{}, pos_ + 1};
  return {text_.substr(start, stop - start), stop + 1};
}

PageScanner::Piece PageScanner::HrefPiece(size_t blank) const {
  size_t valueStart = blank + 6;
  char quote = valueStart < text_.size() ? text_[valueStart] : 0;
  if (quote != '"' && quote != '\'') {
    Piece piece = StopPiece(valueStart);
    piece.attribute = true;
    return piece;
  }
  size_t close = text_.find(quote, valueStart + 1);
  if (close == std::string::npos) return {{}, pos_ + 1};
  return {text_.substr(valueStart + 1, close - valueStart - 1), close + 1, true};
}

PageScanner::Piece PageScanner::ImagePiece(size_t start) const {
  size_t close = text_.find('>', start + 2);
  if (close == std::string::npos) return {{}, pos_ + 1};
  std::string tag = text_.substr(start, close - start + 1);
  std::string lower = LowerAscii(tag);
  std::string src;
  size_t at = std::string::npos;
  if (AcceptImageTag(lower, src)) at = lower.find(src);
  std::string value = at == std::string::npos ? std::string() : tag.substr(at, src.size());
  return {value, close + 2, true};
}

size_t PageScanner::NextAddressStart() {
  return std::min(FindFrom(http_), FindFrom(https_));
}

std::optional<PageScanner::Piece> PageScanner::NextPiece() {
  size_t href = FindFrom(href_);
  size_t address = NextAddressStart();
  size_t image = takeImages_ ? FindFrom(image_) : std::string::npos;
  size_t first = std::min({href, address, image});
  if (first == std::string::npos) return std::nullopt;
  if (first == href) return HrefPiece(href);
  if (first == address) return StopPiece(address);
  return ImagePiece(image);
}

std::string PageScanner::ResolvePiece(const std::string& piece) const {
  std::string_view reference = Trimmed(piece);
  if (reference.empty() || LowerAscii(reference.substr(0, 7)) == "mailto:") return {};
  std::string link(WithoutFragment(ResolveReference(base_, reference)));
  if (!IsWebAddress(link)) return {};
  return CarriedAddress(link);
}

std::optional<std::string> PageScanner::NextLink() {
  while (std::optional<Piece> piece = NextPiece()) {
    pos_ = std::min(piece->next, text_.size());
    std::string value = piece->attribute ? DecodeCharacterReferences(piece->text) : piece->text;
    std::string link = ResolvePiece(value);
    if (!link.empty()) return link;
  }
  return std::nullopt;
}

}  // namespace varnel

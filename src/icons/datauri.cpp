#include "icons/datauri.h"

#include <algorithm>
#include <array>

#include "base/errors.h"
#include "base/fileio.h"
#include "icons/pngpicture.h"

namespace varnel {

namespace {

// The text is decoded in blocks of this many characters; an invalid character ends its block.
constexpr size_t kBase64Block = 65536;
// Data-URI files beyond this size are refused before they are read.
constexpr uint64_t kMaxDataUriFileBytes = uint64_t(64) << 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view line) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!line.empty() && isSpace(line.front())) line.remove_prefix(1);
  while (!line.empty() && isSpace(line.back())) line.remove_suffix(1);
  return line;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code the (up to) two characters after a "%" give as a hexadecimal number.
char EscapedCharacter(std::string_view digits) {
  int value = 0;
  for (char c : digits) {
    int digit = HexDigit(c);
    if (digit < 0) value = -1;
    if (value >= 0) value = value * 16 + digit;
  }
  if (digits.empty() || value < 0)
    throw Exception("'$" + std::string(digits) + "' is not a valid integer value");
  return char(value);
}

// Removes blanks, then decodes escapes (dropping the blanks they give): the leftmost "%" and the two characters after it become
// one character, which, when it is a "%" itself, is decoded again with the two that follow.
std::string Unescaped(std::string_view line) {
  std::string text;
  for (char c : line)
    if (!IsBlank(c)) text += c;
  std::string result;
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] != '%') {
      // Blanks that escapes give ("%20") go the way of the others.
      if (!IsBlank(text[at])) result += text[at];
      ++at;
      continue;
    }
    size_t end = std::min(text.size(), at + 3);
    char decoded = EscapedCharacter(std::string_view(text).substr(at + 1, end - at - 1));
    // The decoded character takes the place of the last character of the escape.
    at = end - 1;
    text[at] = decoded;
  }
  return result;
}

std::vector<std::string> DataLines(std::span<const uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trimmed(text.substr(start, end - start));
    if (!line.empty()) lines.push_back(Unescaped(line));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  return lines;
}

// Removes the header of an accepted first line (up to its "," after "base64"); false when the
// line is no PNG image data URI.
bool StripHeader(std::string& line) {
  size_t image = line.find("image/"), base64 = line.find("base64"), png = line.find("png");
  if (image == std::string::npos || base64 == std::string::npos || png == std::string::npos)
    return false;
  if (image > base64 || image > png) return false;
  size_t comma = line.find(',', base64);
  if (comma == std::string::npos) return false;
  line.erase(0, comma + 1);
  return true;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::vector<uint8_t> DecodeBase64Blocks(std::string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  uint32_t bits = 0;
  int count = 0;
  for (size_t block = 0; block < text.size(); block += kBase64Block) {
    std::string_view part = text.substr(block, kBase64Block);
    for (char c : part) {
      if (c == '\r' || c == '\n') continue;
      int value = Base64Value(c);
      if (value < 0) break;
      bits = (bits << 6) | uint32_t(value);
      count += 6;
      if (count >= 8) {
        count -= 8;
        bytes.push_back(uint8_t(bits >> count));
        bits &= (1u << count) - 1;
      }
    }
  }
  return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> DecodeDataUriText(std::span<const uint8_t> text) {
  std::vector<std::string> lines = DataLines(text);
  if (lines.empty() || !StripHeader(lines.front())) return std::nullopt;
  std::string joined;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) joined += "\r\n";
    joined += lines[i];
  }
  std::vector<uint8_t> bytes = DecodeBase64Blocks(joined);
  if (bytes.size() <= 4) return std::nullopt;
  return bytes;
}

void LoadDataUri(std::span<const uint8_t> text, int alphaThreshold, TAdvancedIcon& icon) {
  auto png = DecodeDataUriText(text);
  if (!png) return;
  TColorAndMask picture = LoadPngPicture(*png, alphaThreshold);
  icon.Images().AddFromBitmap(picture.color, &picture.mask, 0);
}

void LoadDataUriFile(const std::string& fileName, int alphaThreshold, TAdvancedIcon& icon) {
  LoadDataUri(ReadWholeFile(fileName, kMaxDataUriFileBytes), alphaThreshold, icon);
}

}  // namespace varnel

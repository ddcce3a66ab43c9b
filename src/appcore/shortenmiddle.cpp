#include "appcore/shortenmiddle.h"

#include <vector>

namespace varnel {

namespace {

bool IsContinuationByte(char c) {
  return (uint8_t(c) & 0xC0) == 0x80;
}

// Byte offsets at which the code points of text begin.
std::vector<size_t> CharacterStarts(const std::string& text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsContinuationByte(text[i])) starts.push_back(i);
  }
  return starts;
}

}  // namespace

std::string ShortenMiddle(const std::string& text, int limit) {
  std::vector<size_t> starts = CharacterStarts(text);
  int length = int(starts.size());
  if (length <= limit) return text;
  int head = std::max(limit / 2 - 1, 0);
  int tail = std::max(limit / 2, 0);
  std::string shortened = text.substr(0, starts[size_t(head)]);
  shortened += "...";
  if (tail > 0) shortened += text.substr(starts[size_t(length - tail)]);
  return shortened;
}

}  // namespace varnel

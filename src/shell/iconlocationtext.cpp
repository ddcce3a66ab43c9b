#include "shell/iconlocationtext.h"

#include <charconv>

namespace varnel {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string WithoutQuotes(std::string_view file) {
  file = Trimmed(file);
  if (file.size() >= 2 && file.front() == '"' && file.back() == '"')
    file = file.substr(1, file.size() - 2);
  return std::string(file);
}

int IndexOf(std::string_view text) {
  text = Trimmed(text);
  int index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return -1;
  return index;
}

}  // namespace

IconLocation SplitIconLocation(std::string_view text) {
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == '.') break;
    if (text[i] == ',') return {WithoutQuotes(text.substr(0, i)), IndexOf(text.substr(i + 1))};
  }
  return {WithoutQuotes(text), 0};
}

std::string IconLocationText(const IconLocation& location) {
  return location.file + "," + std::to_string(location.index);
}

}  // namespace varnel

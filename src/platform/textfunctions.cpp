#include "platform/textfunctions.h"

#include <algorithm>

namespace varnel {

namespace {

bool IsBlank(char c) {
  return uint8_t(c) <= ' ';
}

char LowerChar(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerChar(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + uint32_t(digit);
  }
  return value;
}

std::optional<int64_t> ParseDecimal(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::string Trim(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), LowerChar);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerChar(x) == LowerChar(y);
         });
}

std::optional<int32_t> TryParseInteger(std::string_view text) {
  std::string trimmed = Trim(text);
  std::string_view rest = trimmed;
  bool negative = false;
  if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  if (!rest.empty() && rest[0] == '$') {
    auto value = ParseHex(rest.substr(1));
    if (!value) return std::nullopt;
    return int32_t(negative ? 0u - *value : *value);
  }
  if (rest.size() > 1 && rest[0] == '0' && LowerChar(rest[1]) == 'x') {
    auto value = ParseHex(rest.substr(2));
    if (!value) return std::nullopt;
    return int32_t(negative ? 0u - *value : *value);
  }
  auto value = ParseDecimal(rest);
  if (!value) return std::nullopt;
  int64_t signedValue = negative ? -*value : *value;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
  return int32_t(signedValue);
}

}  // namespace varnel

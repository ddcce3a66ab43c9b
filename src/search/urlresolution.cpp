#include "search/urlresolution.h"

#include <optional>

#include "search/htmltext.h"

namespace varnel {

namespace {

// The five components of an address; a component that is absent differs from an empty one.
struct AddressParts {
  std::string scheme;
  std::optional<std::string_view> authority;
  std::string_view path;
  std::optional<std::string_view> query;
  std::optional<std::string_view> fragment;
};

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeCharacter(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Length of the scheme in front of ":" (0 when the text has none).
size_t SchemeLength(std::string_view text) {
  size_t colon = text.find_first_of(":/?#");
  if (colon == std::string_view::npos || colon == 0 || text[colon] != ':') return 0;
  if (!IsAsciiLetter(text[0])) return 0;
  for (size_t i = 1; i < colon; ++i)
    if (!IsSchemeCharacter(text[i])) return 0;
  return colon;
}

AddressParts SplitAddress(std::string_view text) {
  AddressParts parts;
  if (size_t scheme = SchemeLength(text)) {
    parts.scheme = LowerAscii(text.substr(0, scheme));
    text.remove_prefix(scheme + 1);
  }
  if (size_t hash = text.find('#'); hash != std::string_view::npos) {
    parts.fragment = text.substr(hash + 1);
    text = text.substr(0, hash);
  }
  if (size_t question = text.find('?'); question != std::string_view::npos) {
    parts.query = text.substr(question + 1);
    text = text.substr(0, question);
  }
  if (text.starts_with("//")) {
    size_t end = text.find('/', 2);
    parts.authority = text.substr(2, end == std::string_view::npos ? text.npos : end - 2);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end);
  }
  parts.path = text;
  return parts;
}

// Drops the last segment of output and the "/" before it.
void RemoveLastSegment(std::string& output) {
  size_t slash = output.rfind('/');
  output.erase(slash == std::string::npos ? 0 : slash);
}

std::string RemoveDotSegments(std::string_view input) {
  std::string output;
  while (!input.empty()) {
    if (input.starts_with("../")) {
      input.remove_prefix(3);
    } else if (input.starts_with("./")) {
      input.remove_prefix(2);
    } else if (input.starts_with("/./")) {
      input.remove_prefix(2);
    } else if (input == "/.") {
      input = "/";
    } else if (input.starts_with("/../")) {
      input.remove_prefix(3);
      RemoveLastSegment(output);
    } else if (input == "/..") {
      input = "/";
      RemoveLastSegment(output);
    } else if (input == "." || input == "..") {
      input = {};
    } else {
      size_t next = input.find('/', 1);
      if (next == std::string_view::npos) next = input.size();
      output.append(input.substr(0, next));
      input.remove_prefix(next);
    }
  }
  return output;
}

std::string MergePaths(const AddressParts& base, std::string_view reference) {
  if (base.authority && base.path.empty()) return "/" + std::string(reference);
  size_t slash = base.path.rfind('/');
  if (slash == std::string_view::npos) return std::string(reference);
  return std::string(base.path.substr(0, slash + 1)) + std::string(reference);
}

std::string JoinAddress(const std::string& scheme, std::optional<std::string_view> authority,
                        const std::string& path, std::optional<std::string_view> query,
                        std::optional<std::string_view> fragment) {
  std::string out;
  if (!scheme.empty()) out += scheme + ":";
  if (authority) out += "//" + std::string(*authority);
  out += path;
  if (query) out += "?" + std::string(*query);
  if (fragment) out += "#" + std::string(*fragment);
  return out;
}

}  // namespace

std::string AddressScheme(std::string_view address) {
  return LowerAscii(address.substr(0, SchemeLength(address)));
}

std::string_view WithoutFragment(std::string_view address) {
  return address.substr(0, address.find('#'));
}

std::string ResolveReference(std::string_view base, std::string_view reference) {
  AddressParts b = SplitAddress(base);
  AddressParts r = SplitAddress(reference);
  if (!r.scheme.empty() && (r.scheme != b.scheme || r.authority)) {
    return JoinAddress(r.scheme, r.authority, std::string(r.path), r.query, r.fragment);
  }
  if (r.authority)
    return JoinAddress(b.scheme, r.authority, RemoveDotSegments(r.path), r.query, r.fragment);
  if (r.path.empty())
    return JoinAddress(b.scheme, b.authority, std::string(b.path), r.query ? r.query : b.query,
                       r.fragment);
  std::string path = r.path.starts_with('/') ? RemoveDotSegments(r.path)
                                             : RemoveDotSegments(MergePaths(b, r.path));
  return JoinAddress(b.scheme, b.authority, path, r.query, r.fragment);
}

}  // namespace varnel

#include "loaderoptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace varnel::loader {

namespace {

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
  Number parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || parsed < 0) return false;
  value = parsed;
  return true;
}

bool TakeOption(LoaderOptions& options, const std::string& name, const std::string& value) {
  if (name == "--status")
    options.statusFile = value;
  else if (name == "--output")
    options.outputFile = value;
  else if (name == "--max-size")
    return ParseNumber(value, options.maxSize);
  else if (name == "--connect-timeout")
    return ParseNumber(value, options.connectTimeout);
  else if (name == "--idle-timeout")
    return ParseNumber(value, options.idleTimeout);
  else
    return false;
  return true;
}

}  // namespace

std::optional<LoaderOptions> ParseLoaderOptions(const std::vector<std::string>& args) {
  LoaderOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].starts_with("--")) {
      if (i + 1 >= args.size() || !TakeOption(options, args[i], args[i + 1])) return std::nullopt;
      ++i;
    } else if (options.url.empty()) {
      options.url = args[i];
    } else {
      return std::nullopt;
    }
  }
  if (options.url.empty() || options.statusFile.empty() || options.outputFile.empty())
    return std::nullopt;
  return options;
}

bool IsAllowedAddress(const std::string& url) {
  std::string head = url.substr(0, 8);
  std::transform(head.begin(), head.end(), head.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return head.starts_with("http://") || head.starts_with("https://") || head.starts_with("ftp://");
}

}  // namespace varnel::loader

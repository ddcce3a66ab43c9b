#include "cli/optionvalues.h"

#include <algorithm>
#include <charconv>

#include "appcore/colornames.h"
#include "cli/command.h"

namespace varnel::cli {

std::optional<int> ParseNumberIn(const std::string& text, int low, int high) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

std::optional<std::vector<int>> ParseNumberList(const std::string& text, char sep, int low,
                                                int high) {
  std::vector<int> numbers;
  size_t start = 0;
  while (true) {
    size_t end = text.find(sep, start);
    auto number = ParseNumberIn(text.substr(start, end - start), low, high);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (end == std::string::npos) return numbers;
    start = end + 1;
  }
}

std::optional<TColor> ParseColorValue(const std::string& text) {
  if (text == "none") return clNone;
  if (text.size() == 7 && text[0] == '#') {
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
    if (error != std::errc() || end != text.data() + 7) return std::nullopt;
    return RGB(uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value));
  }
  std::optional<TColor> named = IdentToColor(text);
  if (named) return ColorToRGB(*named);
  return std::nullopt;
}

std::optional<std::string> OptionWalker::Value() {
  const std::string& option = args_[i_];
  if (i_ + 1 >= args_.size()) {
    UsageError(command_, option + " needs a value");
    return std::nullopt;
  }
  i_ += 2;
  return args_[i_ - 1];
}

bool OptionWalker::Invalid(const std::string& value) const {
  UsageError(command_, "invalid value for " + args_[i_ - 2] + ": " + value);
  return false;
}

bool WalkArguments(const std::string& command, const std::vector<std::string>& args,
                   const ArgumentRules& rules, std::vector<std::string>& files) {
  OptionWalker walker(command, args);
  while (!walker.Done()) {
    const std::string& arg = walker.Current();
    if (std::find(rules.valueOptions.begin(), rules.valueOptions.end(), arg) !=
        rules.valueOptions.end()) {
      if (!rules.takeValue(walker)) return false;
      continue;
    }
    if (!rules.takeFlag(arg)) {
      if (arg.starts_with("-")) return UsageError(command, "unknown option " + arg), false;
      files.push_back(arg);
    }
    walker.Next();
  }
  return true;
}

}  // namespace varnel::cli

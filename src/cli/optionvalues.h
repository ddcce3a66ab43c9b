#pragma once
// Values of command options: numbers in a range, lists of numbers and colours.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graphics/color.h"

namespace varnel::cli {

// A decimal number within low..high; nothing for other text.
std::optional<int> ParseNumberIn(const std::string& text, int low, int high);
// Numbers within low..high separated by sep ("1,2,3"); nothing when any is not.
std::optional<std::vector<int>> ParseNumberList(const std::string& text, char sep, int low,
                                                int high);
// "#RRGGBB", or a colour name the settings file knows ("clWhite"), or "none" (clNone).
std::optional<TColor> ParseColorValue(const std::string& text);

// Walks the arguments of a command: options with values, flags and file names.
class OptionWalker {
 public:
  OptionWalker(std::string command, const std::vector<std::string>& args)
      : command_(std::move(command)), args_(args) {}
  bool Done() const { return i_ >= args_.size(); }
  const std::string& Current() const { return args_[i_]; }
  void Next() { ++i_; }
  // The value after the current option (moving past both); nothing, after a usage message,
  // when it is missing.
  std::optional<std::string> Value();
  // A usage message that the value of the current option is not valid; gives false.
  bool Invalid(const std::string& value) const;

 private:
  std::string command_;
  const std::vector<std::string>& args_;
  size_t i_ = 0;
};

// What a command's arguments are made of: options that take a value (given to takeValue with the
// walker on the option), flags (given to takeFlag, which tells whether it knows the flag) and
// file names (appended to files). False after a usage message: a value missing or refused, or an
// unknown option.
struct ArgumentRules {
  std::vector<std::string> valueOptions;
  std::function<bool(OptionWalker& walker)> takeValue;
  std::function<bool(const std::string& flag)> takeFlag;
};
bool WalkArguments(const std::string& command, const std::vector<std::string>& args,
                   const ArgumentRules& rules, std::vector<std::string>& files);

}  // namespace varnel::cli

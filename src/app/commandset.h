#pragma once
// The program's commands: name, caption, hint ("tooltip|status text"), shortcuts and the key
// of the menu translation files.

#include <string_view>
#include <vector>

namespace varnel {

struct TCommandInfo {
  const char* name;
  const char* caption;
  const char* hint;
  const char* shortcuts;  // key sequences separated by ";"
  int key;                // 0 for none
};

const std::vector<TCommandInfo>& CommandTable();
const TCommandInfo* FindCommand(std::string_view name);

// The halves of a hint: before and after "|" (a hint without "|" is both).
std::string_view HintTooltip(std::string_view hint);
std::string_view HintStatusText(std::string_view hint);

}  // namespace varnel

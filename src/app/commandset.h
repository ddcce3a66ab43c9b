#pragma once
// The program's commands, one row each: name, caption, hint ("tooltip|status text"), shortcuts,
// the key of the menu translation files, the place on the toolbar and whether the command is
// checked on and off. What a command does is its handler, which the main window gives by name.

#include <functional>
#include <string_view>
#include <vector>

namespace varnel {

inline constexpr int kOffToolbar = 0;
inline constexpr bool kCheckable = true;

struct TCommandInfo {
  const char* name;
  const char* caption;
  const char* hint;
  const char* shortcuts;  // key sequences separated by ";"
  int key;                // 0 for none
  // The place on the toolbar: group * 10 + position in the group, a separator after each
  // group.
  int toolbar = kOffToolbar;
  bool checkable = false;  // kCheckable for commands that are checked on and off
};

// The rows in menu order. Adding a command takes its row here, its handler in the main
// window's CommandHandlers and its place in a menu.
const std::vector<TCommandInfo>& CommandTable();

// The toolbar's commands in the order of their places; an empty name is a separator.
std::vector<const char*> ToolbarCommands();

// What the command named name does.
struct CommandHandler {
  const char* name;
  std::function<void()> run;
};

// The halves of a hint: before and after "|" (a hint without "|" is both).
std::string_view HintTooltip(std::string_view hint);
std::string_view HintStatusText(std::string_view hint);

}  // namespace varnel

#pragma once
// varnel-cli commands: each command file registers itself with a static CommandRegistration.

#include <functional>
#include <string>
#include <vector>

namespace varnel::cli {

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Command {
  std::string name;
  std::string synopsis;     // "list [--json] FILE..."
  std::string description;  // one line for --help
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& Commands();

struct CommandRegistration {
  explicit CommandRegistration(Command command) { Commands().push_back(std::move(command)); }
};

// Prints "varnel-cli: <message>" on stderr.
void PrintError(const std::string& message);
// Prints a usage error for a command and returns kExitUsage.
int UsageError(const std::string& command, const std::string& message);

// Escapes text for a JSON string literal (without the quotes).
std::string JsonEscape(const std::string& text);

}  // namespace varnel::cli

#pragma once
// varnel-cli commands: each command file registers itself with a static CommandRegistration.

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace varnel::cli {

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;  // as a shell reports a program ended by Ctrl+C

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

struct FileArguments {
  std::vector<std::string> files;
  std::set<std::string> flags;
  bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
};
// Splits the arguments into the flags the command knows and file names. An unknown option or no
// file at all prints a usage error and gives nothing.
std::optional<FileArguments> ParseFileArguments(const std::string& command,
                                                const std::vector<std::string>& args,
                                                const std::set<std::string>& knownFlags);
// Runs work on each file; a file that fails prints "varnel-cli: <file>: <message>" and the
// others go on; Ctrl+C ends the loop between files. Returns kExitOk when all succeeded, else
// kExitFailed.
int ForEachFile(const std::vector<std::string>& files,
                const std::function<void(const std::string&)>& work);

// Takes "-o OUT" out of the arguments; returns OUT, empty when not given.
std::string TakeOutputOption(std::vector<std::string>& args);
// Takes "--jobs N" (the threads reading files during a search, 0 one per core) out of the
// arguments into jobs, left as it is when not given; a message when N is no such count.
std::optional<std::string> TakeJobsOption(std::vector<std::string>& args, int& jobs);

// Escapes text for a JSON string literal (without the quotes).
std::string JsonEscape(const std::string& text);

// Raises the reason a path cannot be read as an input file: missing, a folder, or unreadable.
void CheckInputFile(const std::string& path);

// A count with its noun in the right number: "1 icon", "2 icons".
std::string CountText(long long count, const std::string& noun);

// kExitOk when a collection can be saved under output's extension (withSingleIcons: also an
// output that holds one icon), else a usage error of the command that names every output it
// takes (printed) and kExitUsage.
int CheckCollectionOutput(const std::string& command, const std::string& output,
                          bool withSingleIcons = false);

}  // namespace varnel::cli

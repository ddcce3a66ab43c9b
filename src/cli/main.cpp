// varnel-cli: the headless command-line tool.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>

#include "appcore/settings.h"
#include "cli/command.h"
#include "cli/interruptstop.h"
#include "icons/bitmapfix32.h"
#include "icons/imagefileloader.h"

namespace varnel::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

void PrintError(const std::string& message) {
  std::cerr << "varnel-cli: " << message << "\n";
}

int UsageError(const std::string& command, const std::string& message) {
  PrintError(command + ": " + message);
  std::cerr << "Try 'varnel-cli --help'.\n";
  return kExitUsage;
}

std::optional<FileArguments> ParseFileArguments(const std::string& command,
                                                const std::vector<std::string>& args,
                                                const std::set<std::string>& knownFlags) {
  FileArguments parsed;
  for (const std::string& arg : args) {
    if (knownFlags.count(arg)) {
      parsed.flags.insert(arg);
    } else if (arg.starts_with("--")) {
      UsageError(command, "unknown option " + arg);
      return std::nullopt;
    } else {
      parsed.files.push_back(arg);
    }
  }
  if (parsed.files.empty()) {
    UsageError(command, "no files given");
    return std::nullopt;
  }
  return parsed;
}

int ForEachFile(const std::vector<std::string>& files,
                const std::function<void(const std::string&)>& work) {
  int status = kExitOk;
  for (const std::string& file : files) {
    if (WasInterrupted()) break;
    try {
      work(file);
    } catch (const std::exception& error) {
      PrintError(file + ": " + error.what());
      status = kExitFailed;
    }
  }
  return status;
}

std::string TakeOutputOption(std::vector<std::string>& args) {
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] != "-o") continue;
    std::string output = args[i + 1];
    args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
    return output;
  }
  return "";
}

std::optional<std::string> TakeJobsOption(std::vector<std::string>& args, int& jobs) {
  auto option = std::find(args.begin(), args.end(), "--jobs");
  if (option == args.end()) return std::nullopt;
  if (option + 1 == args.end()) return "--jobs needs a count";
  const std::string& text = *(option + 1);
  int count = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end != text.data() + text.size() || count < 0 ||
      count > kMostSearchJobs)
    return "--jobs takes a count from 0 to " + std::to_string(kMostSearchJobs) + ", not " + text;
  jobs = count;
  args.erase(option, option + 2);
  return std::nullopt;
}

std::string JsonEscape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += char(c);
        }
    }
  }
  return out;
}

namespace {

void PrintHelp() {
  std::vector<Command> commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  std::cout << "Usage: varnel-cli COMMAND [OPTIONS] [FILE...]\n"
               "Finds, lists and converts icons and cursors without a display.\n\n"
               "Commands:\n";
  for (const Command& command : commands)
    std::cout << "  " << command.synopsis << "\n      " << command.description << "\n";
  std::cout << "\nOptions:\n  --help     show this help\n  --version  show the version\n"
               "\nExit status: 0 when all went well, 1 when a file failed, 2 for a usage error.\n";
}

bool IsHelpOption(const std::string& arg) {
  return arg == "--help" || arg == "-h";
}

// "varnel-cli COMMAND --help": that command's synopsis and description.
void PrintCommandHelp(const Command& command) {
  std::cout << "Usage: varnel-cli " << command.synopsis << "\n" << command.description << "\n";
}

}  // namespace
}  // namespace varnel::cli

int main(int argc, char** argv) {
  using namespace varnel::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintHelp();
    return kExitUsage;
  }
  if (IsHelpOption(args[0]) || args[0] == "help") {
    PrintHelp();
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "varnel-cli " << VARNEL_VERSION << "\n";
    return kExitOk;
  }
  for (const Command& command : Commands()) {
    if (command.name != args[0]) continue;
    if (args.size() > 1 && IsHelpOption(args[1])) {
      PrintCommandHelp(command);
      return kExitOk;
    }
    // The picture readers are registered for the commands only: help and the version need none.
    varnel::RegisterBitmapFix32();
    varnel::RegisterPictureReaders();
    try {
      int status = command.run({args.begin() + 1, args.end()});
      if (!WasInterrupted()) return status;
      PrintError("interrupted by Ctrl+C; the work done before it is kept");
      return kExitInterrupted;
    } catch (const std::exception& error) {
      PrintError(error.what());
      return kExitFailed;
    }
  }
  return UsageError(args[0], "unknown command");
}

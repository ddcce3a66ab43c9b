#include "app/commandline.h"

#include <exception>
#include <filesystem>

namespace varnel {
namespace {

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool TryOpen(const std::string& name, const std::function<void(const std::string&)>& open,
             TCommandLineOutcome& outcome) {
  try {
    open(name);
    ++outcome.opened;
    return true;
  } catch (const std::exception& error) {
    outcome.errors.emplace_back(error.what());
  }
  return false;
}

}  // namespace

std::vector<std::string> CommandLineCandidates(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {};
  std::string joined;
  for (const std::string& argument : arguments) joined += (joined.empty() ? "" : " ") + argument;
  std::vector<std::string> candidates{joined};
  candidates.insert(candidates.end(), arguments.begin(), arguments.end());
  return candidates;
}

std::string ExpandCommandLineName(const std::string& name, const std::string& currentFolder) {
  std::string trimmed = TrimBlanks(name);
  if (trimmed.empty() || trimmed.front() == '/' || currentFolder.empty()) return trimmed;
  return currentFolder + (currentFolder.back() == '/' ? "" : "/") + trimmed;
}

TCommandLineOutcome ProcessCommandLine(const std::vector<std::string>& arguments,
                                       const std::string& currentFolder,
                                       const std::function<void(const std::string&)>& open) {
  TCommandLineOutcome outcome;
  std::vector<std::string> candidates = CommandLineCandidates(arguments);
  std::string last;
  for (size_t i = 0; i < candidates.size(); ++i) {
    std::string name = ExpandCommandLineName(candidates[i], currentFolder);
    if (name.empty()) continue;
    last = name;
    bool opened = TryOpen(name, open, outcome);
    if (i == 0 && opened) break;  // the whole line was one name
  }
  if (!last.empty()) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(last).parent_path();
    if (std::filesystem::is_directory(folder, error)) outcome.initialFolder = folder.string();
  }
  return outcome;
}

}  // namespace varnel

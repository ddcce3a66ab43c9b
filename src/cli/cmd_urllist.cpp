// varnel-cli urllist: makes a crawl list file from a text list, or shows what a list holds.

#include <fstream>
#include <iostream>

#include "base/errors.h"
#include "cli/command.h"
#include "search/urllist.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "urllist";
constexpr std::string_view kExcludePrefix = "exclude ";

bool IsComment(const std::string& line) {
  return line == "#" || line.starts_with("# ");
}

// The entries of a text list: one a line, "exclude TEXT" for the exclude list, "# " comments.
UrlList ReadTextList(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw EFileError("Cannot open file \"" + path + "\"");
  UrlList list;
  std::string line;
  while (std::getline(in, line)) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.empty() || IsComment(line)) continue;
    if (line.starts_with(kExcludePrefix))
      list.excludes.push_back(line.substr(kExcludePrefix.size()));
    else
      list.addresses.push_back(line);
  }
  return list;
}

void ShowList(const std::string& path) {
  UrlList list;
  if (!ReadUrlList(path, list)) PrintError(path + ": the list is damaged or incomplete");
  for (const std::string& address : list.addresses) std::cout << address << "\n";
  for (const std::string& exclude : list.excludes) std::cout << kExcludePrefix << exclude << "\n";
}

int RunUrlList(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string output = TakeOutputOption(args);
  auto parsed = ParseFileArguments(kName, args, {"--show"});
  if (!parsed) return kExitUsage;
  if (parsed->files.size() != 1) return UsageError(kName, "one list file only");
  if (parsed->Has("--show") == !output.empty())
    return UsageError(kName, "give either --show or -o OUT");
  const std::string& input = parsed->files.front();
  try {
    CheckInputFile(input);
    if (parsed->Has("--show"))
      ShowList(input);
    else
      WriteUrlList(output, ReadTextList(input));
  } catch (const Exception& e) {
    PrintError(input + ": " + e.what());
    return kExitFailed;
  }
  return kExitOk;
}

const CommandRegistration kUrlList(
    {kName, "urllist TEXT -o LIST.dat | urllist --show LIST.dat",
     "make a crawl list from a text list (one entry a line), or print a list's entries",
     RunUrlList});

}  // namespace
}  // namespace varnel::cli

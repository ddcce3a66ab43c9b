// varnel-cli links: the links an Internet scan takes from a downloaded page.

#include <iostream>
#include <optional>

#include "base/errors.h"
#include "cli/command.h"
#include "cli/optionvalues.h"
#include "search/weblinks.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "links";

struct LinksRequest {
  std::string page;
  std::string base;
  LinkScan scan;
};

// Sets a flag of the scan; false when arg is no such flag.
bool TakeFlag(const std::string& arg, LinkScan& scan) {
  if (arg == "--images") return scan.takeImages = true;
  if (arg == "--favicon-per-link") return scan.siteIconPerLink = true;
  if (arg == "--favicon-of-page") return scan.siteIconOfPage = true;
  return false;
}

std::optional<LinksRequest> ParseLinksArguments(const std::vector<std::string>& args) {
  LinksRequest request;
  OptionWalker walker(kName, args);
  while (!walker.Done()) {
    const std::string arg = walker.Current();
    if (arg == "--base" || arg == "--mode") {
      std::optional<std::string> value = walker.Value();
      if (!value) return std::nullopt;
      if (arg == "--base") {
        request.base = *value;
      } else if (std::optional<int> mode = ParseNumberIn(*value, 1, 2)) {
        request.scan.mode = *mode;
      } else {
        walker.Invalid(*value);
        return std::nullopt;
      }
      continue;
    }
    if (!TakeFlag(arg, request.scan)) {
      if (arg.starts_with("-")) return UsageError(kName, "unknown option " + arg), std::nullopt;
      if (!request.page.empty()) return UsageError(kName, "one page only"), std::nullopt;
      request.page = arg;
    }
    walker.Next();
  }
  if (request.page.empty()) return UsageError(kName, "no page given"), std::nullopt;
  if (request.base.empty()) return UsageError(kName, "no address given (--base URL)"), std::nullopt;
  return request;
}

int RunLinks(const std::vector<std::string>& args) {
  std::optional<LinksRequest> request = ParseLinksArguments(args);
  if (!request) return kExitUsage;
  try {
    CheckInputFile(request->page);
    for (const std::string& link : ExtractLinks(request->page, request->base, request->scan))
      std::cout << link << "\n";
  } catch (const Exception& e) {
    PrintError(request->page + ": " + e.what());
    return kExitFailed;
  }
  return kExitOk;
}

const CommandRegistration kLinks(
    {kName,
     "links PAGE.html --base URL [--mode 1|2] [--images] [--favicon-per-link] [--favicon-of-page]",
     "print the links an Internet scan takes from a downloaded page, one per line", RunLinks});

}  // namespace
}  // namespace varnel::cli

// varnel-cli download and crawl: the Download command and the Internet crawl from a terminal.

#include <iostream>

#include "appcore/applicationsettings.h"
#include "base/errors.h"
#include "cli/clisession.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "platform/folders.h"
#include "search/internetaddress.h"
#include "search/internetcommands.h"

namespace varnel::cli {

namespace {

void PrintFound(const TfmLib& lib) {
  std::cerr << "varnel-cli: " << CountText(lib.Count(), "icon") << " found"
            << (lib.StopRequested() ? " (stopped)" : "") << "\n";
}

// Saves what was found; a scan that raised still keeps what it found before.
int SaveFound(TfmLib& lib, const std::string& output) {
  PrintFound(lib);
  if (lib.Count()) SaveCollectionOutput(lib, output, false);
  return kExitOk;
}

int RunDownload(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  std::string output = TakeOutputOption(rest);
  auto parsed = ParseFileArguments("download", rest, {"--explore", "--images", "--favicons"});
  if (!parsed) return kExitUsage;
  if (output.empty()) return UsageError("download", "no output file given (-o OUT)");
  if (int error = CheckCollectionOutput("download", output)) return error;
  std::vector<std::string> addresses;
  for (const std::string& url : parsed->files)
    addresses.push_back(StoredAddress(url, parsed->Has("--explore")));
  CliSession session;
  DownloadChoices choices{parsed->Has("--images"), parsed->Has("--favicons")};
  try {
    DownloadAddresses(session.lib, addresses, choices);
  } catch (const Exception& error) {
    PrintError(error.what());
    return kExitFailed;
  }
  return SaveFound(session.lib, output);
}

struct CrawlOptions {
  std::string list;
  std::string output;
  int maxEntries = 0;
};

std::optional<std::string> ParseCrawl(const std::vector<std::string>& args, CrawlOptions& options) {
  std::vector<std::string> rest = args;
  options.output = TakeOutputOption(rest);
  for (size_t i = 0; i < rest.size(); ++i) {
    bool hasValue = i + 1 < rest.size();
    if (rest[i] == "--list" && hasValue) {
      options.list = rest[++i];
    } else if (rest[i] == "--max-entries" && hasValue) {
      try {
        options.maxEntries = std::stoi(rest[++i]);
      } catch (const std::exception&) {
        return "--max-entries needs a count";
      }
    } else {
      return "unknown argument " + rest[i];
    }
  }
  if (options.output.empty()) return "no output file given (-o OUT)";
  return std::nullopt;
}

int RunCrawl(const std::vector<std::string>& args) {
  CrawlOptions options;
  if (auto error = ParseCrawl(args, options)) return UsageError("crawl", *error);
  if (int error = CheckCollectionOutput("crawl", options.output)) return error;
  TApplicationSettings stored(SettingsFileName(), 32);
  stored.LoadSettings(nullptr);
  CliSession session;
  session.settings = stored.Values();
  CrawlPlace place = DefaultCrawlPlace(
      session.settings, [&stored](int position) { stored.SaveCrawlPosition(position); });
  if (!options.list.empty()) place.programList = options.list;
  try {
    FindOnInternet(session.lib, place, options.maxEntries);
  } catch (const Exception& error) {
    PrintError(error.what());
    return kExitFailed;
  }
  return SaveFound(session.lib, options.output);
}

const CommandRegistration kDownload({"download",
                                     "download URL... -o OUT [--explore] [--images] [--favicons]",
                                     "downloads files and the icon files linked from pages",
                                     RunDownload});
const CommandRegistration kCrawl({"crawl", "crawl [--list FILE] [--max-entries N] -o OUT",
                                  "works through the crawl list from its saved position",
                                  RunCrawl});

}  // namespace

}  // namespace varnel::cli

#pragma once
// The Internet commands: "Download..." (one address typed by the user, a file or a page) and
// "Find on the Internet" (the resumable crawl over the crawl list).

#include <functional>
#include <string>
#include <vector>

namespace varnel {

class CollectionTarget;
class TSettings;

// Where the crawl keeps its lists and its position.
struct CrawlPlace {
  std::string programList;    // the list that comes with the program
  std::string localList;      // the list saved by a crawl that stopped early, or last fetched
  std::string vendorListUrl;  // where a fresh list is fetched; empty: none is fetched
  // Writes the position (the next entry) to the settings file at once; failures are ignored.
  std::function<void(int position)> savePosition;
};

// The usual place: the program's "inet.dat" in the data folder, "inet.dta" in the settings
// folder, the address of the InetListUrl setting.
CrawlPlace DefaultCrawlPlace(const TSettings& settings, std::function<void(int)> savePosition);

// The Download command's choices, as the dialog gives them.
struct DownloadChoices {
  bool takeImages = false;  // GIF and PNG images of the pages
  bool siteIcons = true;    // the favicons of the pages' sites and of their links' sites
};

// Downloads and loads each stored address (as DownloadWorkEntry gives it: a page with "*" or
// "**", a file without) and every file linked from the pages. Raises "Internet connection not
// found..." when there is no connection.
void DownloadAddresses(CollectionTarget& lib, const std::vector<std::string>& storedAddresses,
                       const DownloadChoices& choices);

// The crawl: from the saved position over the local list (or the program's), writing the
// position after every entry and the list when it stops before the end. maxEntries: stop after
// this many entries (0: no limit), as if "Stop" had been pressed.
void FindOnInternet(CollectionTarget& lib, const CrawlPlace& place, int maxEntries = 0);

// The command "Download...": asks for the address with its dialog, then downloads, or starts
// the crawl at the chosen entry.
void ScanInternetLink(CollectionTarget& lib, const CrawlPlace& place);

// The message raised when no connection is found.
inline constexpr const char* kNoConnectionMessage =
    "Internet connection not found. Please connect to the Internet";

}  // namespace varnel

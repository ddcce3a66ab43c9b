#pragma once
// The steps the Download command and the Internet crawl share: one entry of a work list is
// downloaded, and then either loaded as a file or scanned as a page whose links enter the list
// right after it. The scan owns the busy state, the download folder and the errors met.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "collection/busyscope.h"
#include "collection/searchmodescope.h"
#include "search/downloadfolder.h"
#include "search/filedownloader.h"

namespace varnel {

class CollectionTarget;

// What differs between the two commands.
struct InternetScanRules {
  bool crawl = false;            // "#gif#" markers, the exclude list, the item limit
  bool takeImages = false;       // outside the crawl: GIF and PNG images of every page
  bool siteIconPerLink = false;  // the favicon of every link's site
  bool siteIconOfPage = false;   // the favicon of each page's own site
  bool showSkip = false;         // the progress window's "Skip" shown before each page
};

// The collection size at which the crawl stops, and what it says then.
inline constexpr int kCrawlItemLimit = 20000;
inline constexpr const char* kTooManyItemsMessage =
    "Too many images downloaded. Please save or delete images and continue downloading.";

class InternetScan {
 public:
  // Begins the long operation with its progress window and makes the download folder.
  InternetScan(CollectionTarget& lib, InternetScanRules rules);
  InternetScan(const InternetScan&) = delete;
  InternetScan& operator=(const InternetScan&) = delete;

  const DownloadFolder& Folder() const { return folder_; }
  FileDownloader& Downloader() { return downloader_; }

  // Works the entries from index from to the end of the list or a stop; entering(next) is told
  // the index after each entry as it is taken. At most maxEntries entries are taken (0: no
  // limit). Returns the index of the next entry not worked.
  size_t Run(std::vector<std::string>& entries, size_t from,
             const std::vector<std::string>* excludes,
             const std::function<void(size_t next)>& entering = {}, size_t maxEntries = 0);
  // Ends the search mode and the busy state and shows the errors met.
  void Finish();

  // Works entries[at]; next is the index of the entry to work after it, at + 1 unless a double
  // Skip passes over the rest of a page's links. False when the loop must stop (Stop, or the
  // crawl's item limit).
  bool WorkEntry(std::vector<std::string>& entries, size_t at, size_t& next,
                 const std::vector<std::string>* excludes);

  // The item limit's message when the crawl stopped for it.
  const std::optional<std::string>& HeldMessage() const { return heldMessage_; }

 private:
  bool StopRequested();
  // Downloads and loads or scans one address; false when it could not be downloaded.
  bool TakeAddress(std::vector<std::string>& entries, size_t at, const std::string& address,
                   int level, bool takeImages, const std::vector<std::string>* excludes);
  void ScanPage(std::vector<std::string>& entries, size_t at, const std::string& target,
                const std::string& address, int level, bool takeImages,
                const std::vector<std::string>* excludes);
  void LoadDownloadedFile(const std::string& target, const std::string& address);
  void PassOverGroupOnDoubleSkip(const std::vector<std::string>& entries, size_t at, size_t& next);

  CollectionTarget& lib_;
  InternetScanRules rules_;
  std::optional<SearchModeScope> searching_;
  std::optional<TBusyScope> busy_;
  DownloadFolder folder_;
  FileDownloader downloader_;
  std::vector<std::string> errors_;
  std::optional<std::string> heldMessage_;
  int shown_;
};

}  // namespace varnel

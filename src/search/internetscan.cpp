#include "search/internetscan.h"

#include <filesystem>

#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "collection/collectiontarget.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/kindreaders.h"
#include "platform/folders.h"
#include "search/urllist.h"
#include "search/weblinks.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgressCaption = "Downloading Icons...";

// Kinds a downloaded file is not loaded as.
bool IsPassedOverKind(TFileKind kind) {
  return !FormatOf(kind).loadedWhenDownloaded;
}

}  // namespace

InternetScan::InternetScan(CollectionTarget& lib, InternetScanRules rules)
    : lib_(lib), rules_(rules), downloader_(lib.UI(), folder_.Path()), shown_(lib.Count()) {
  lib_.CheckNotBusy();
  searching_.emplace(lib_);
  busy_.emplace(lib_, TBusyKind::LongOperation);
  lib_.UI().SetStatusText(2, "");
  lib_.UI().SetProgressCaption(kProgressCaption);
}

void InternetScan::Finish() {
  searching_.reset();
  busy_.reset();
  ShowErrors(lib_.UI(), errors_);
}

size_t InternetScan::Run(std::vector<std::string>& entries, size_t from,
                         const std::vector<std::string>* excludes,
                         const std::function<void(size_t)>& entering, size_t maxEntries) {
  size_t next = from;
  for (size_t taken = 0; next < entries.size() && (maxEntries == 0 || taken < maxEntries);
       ++taken) {
    size_t at = next++;
    if (entering) entering(next);
    if (!WorkEntry(entries, at, next, excludes)) break;
  }
  return next;
}

bool InternetScan::StopRequested() {
  return lib_.TakeProgressStop();
}

bool InternetScan::WorkEntry(std::vector<std::string>& entries, size_t at, size_t& next,
                             const std::vector<std::string>* excludes) {
  if (StopRequested()) return false;
  lib_.SetModified(true);
  CrawlEntry entry = ParseCrawlEntry(entries[at], rules_.crawl);
  if (entry.kind == CrawlEntryKind::Separator || entry.kind == CrawlEntryKind::Skipped) return true;
  bool takeImages = rules_.crawl ? entry.takeImages : rules_.takeImages;
  if (!TakeAddress(entries, at, entry.address, entry.level, takeImages, excludes)) return true;
  lib_.UI().ProcessMessages();
  if (StopRequested()) return false;
  if (lib_.Count() > shown_) lib_.Grid().GrowGrid(shown_);
  shown_ = lib_.Count();
  if (rules_.crawl && lib_.Count() > kCrawlItemLimit) {
    heldMessage_ = kTooManyItemsMessage;
    return false;
  }
  PassOverGroupOnDoubleSkip(entries, at, next);
  return true;
}

bool InternetScan::TakeAddress(std::vector<std::string>& entries, size_t at,
                               const std::string& address, int level, bool takeImages,
                               const std::vector<std::string>* excludes) {
  UserInterface& ui = lib_.UI();
  ui.SetProgressField(TProgressField::Path, address);
  ui.SetProgressField(TProgressField::File, "");
  ui.SetProgressLabel(TProgressField::Path, "Downloading:");
  ui.ProcessMessages();
  std::string name = UrlFileName(address);
  std::string target = folder_.File(name.empty() ? "1.htm" : name);
  RemoveFileQuietly(target);
  if (!downloader_.Download(address, target, true)) return false;
  ui.SetProgressLabel(TProgressField::Path, "Scanning:");
  ui.SetProgressField(TProgressField::File, ExtractFileName(target));
  ui.SetProgressLabel(TProgressField::File, "Source:");
  ui.SetStatusText(0, ExtractFileName(target));
  ui.ProcessMessages();
  if (level > 0)
    ScanPage(entries, at, target, address, level, takeImages, excludes);
  else
    LoadDownloadedFile(target, address);
  RemoveFileQuietly(target);
  return true;
}

void InternetScan::ScanPage(std::vector<std::string>& entries, size_t at, const std::string& target,
                            const std::string& address, int level, bool takeImages,
                            const std::vector<std::string>* excludes) {
  if (rules_.showSkip) lib_.UI().SetProgressSkipVisible(true);
  LinkScan scan{level, rules_.siteIconPerLink, rules_.siteIconOfPage, takeImages};
  std::vector<std::string> links;
  try {
    links = ExtractLinks(target, address, scan);
  } catch (const Exception&) {
    // A page that cannot be read gives no links.
  }
  LinkEntryRules rules{rules_.crawl && takeImages, rules_.crawl ? excludes : nullptr};
  EnterPageLinks(entries, at, links, rules);
}

void InternetScan::LoadDownloadedFile(const std::string& target, const std::string& address) {
  if (IsPassedOverKind(DetectFileKind(target).kind)) return;
  try {
    LoadFile(lib_, target, address, 0, false, false, &errors_);
  } catch (const Exception& error) {
    errors_.push_back(error.what());
  }
  std::string count = std::to_string(lib_.Count());
  lib_.UI().SetStatusText(1, "Icons " + count);
  lib_.UI().SetProgressField(TProgressField::Count, count);
}

void InternetScan::PassOverGroupOnDoubleSkip(const std::vector<std::string>& entries, size_t at,
                                             size_t& next) {
  UserInterface& ui = lib_.UI();
  if (!ui.ProgressShown() || !ui.ProgressFlags().skipGroup) return;
  if (entries.size() >= at + 3) next = EntryAfterGroup(entries, at + 1);
  ui.ProgressFlags().skipGroup = false;
}

}  // namespace varnel

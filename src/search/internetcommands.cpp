#include "search/internetcommands.h"

#include <filesystem>

#include "base/errors.h"
#include "collection/collectiontarget.h"
#include "platform/folders.h"
#include "search/downloadfolder.h"
#include "search/internetaddress.h"
#include "search/internetconnection.h"
#include "search/internetscan.h"
#include "search/urllist.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

// The local list is read only when its size is in this range.
constexpr int64_t kMinLocalListBytes = 3;
constexpr int64_t kMaxLocalListBytes = 524287;

int64_t FileSize(const std::string& path) {
  std::error_code error;
  auto size = fs::file_size(path, error);
  return error ? -1 : static_cast<int64_t>(size);
}

bool IsUsableLocalList(const std::string& path) {
  int64_t size = FileSize(path);
  return size >= kMinLocalListBytes && size <= kMaxLocalListBytes;
}

// The local list when it is usable, else the program's.
UrlList ReadCrawlList(const CrawlPlace& place) {
  UrlList list;
  ReadUrlList(IsUsableLocalList(place.localList) ? place.localList : place.programList, list);
  return list;
}

void CheckConnected(const std::string& address) {
  if (!IsInternetConnected(address)) throw Exception(kNoConnectionMessage);
}

// Fetches the vendor's list into the download folder, once more when the first copy is not a
// valid list, and makes it the local list. False when no valid list came.
bool FetchFreshList(InternetScan& scan, const CrawlPlace& place, UrlList& list) {
  if (place.vendorListUrl.empty()) return false;
  std::string fetched = scan.Folder().File("inet.dat");
  RemoveFileQuietly(place.localList);
  RemoveFileQuietly(fetched);
  bool valid = false;
  for (int attempt = 0; attempt < 2 && !valid; ++attempt)
    valid =
        scan.Downloader().Download(place.vendorListUrl, fetched, true) && IsValidUrlList(fetched);
  std::error_code error;
  if (valid) valid = fs::copy_file(fetched, place.localList, error) && !error;
  if (valid) ReadUrlList(place.localList, list);
  RemoveFileQuietly(fetched);
  return valid;
}

void SavePosition(CollectionTarget& lib, const CrawlPlace& place, size_t position) {
  lib.Settings().idxNextDownload = static_cast<int>(position);
  if (place.savePosition) place.savePosition(static_cast<int>(position));
}

// Writes the list with every link entered so far; a failure leaves the old file.
void SaveCrawlList(const CrawlPlace& place, const UrlList& list) {
  try {
    WriteUrlList(place.localList, list);
  } catch (const Exception&) {
  }
}

}  // namespace

CrawlPlace DefaultCrawlPlace(const TSettings& settings, std::function<void(int)> savePosition) {
  return {PathJoin(DataFolder(), "inet.dat"), PathJoin(SettingsFolder(), "inet.dta"),
          settings.InetListUrl, std::move(savePosition)};
}

void DownloadAddresses(CollectionTarget& lib, const std::vector<std::string>& storedAddresses,
                       const DownloadChoices& choices) {
  lib.CheckNotBusy();
  std::vector<std::string> entries;
  for (const std::string& address : storedAddresses) {
    entries.push_back(DownloadWorkEntry(address));
    CheckConnected(entries.back());
  }
  InternetScanRules rules{false, choices.takeImages, choices.siteIcons, choices.siteIcons, true};
  InternetScan scan(lib, rules);
  scan.Run(entries, 0, nullptr);
  scan.Finish();
}

void FindOnInternet(CollectionTarget& lib, const CrawlPlace& place, int maxEntries) {
  lib.CheckNotBusy();
  UrlList list = ReadCrawlList(place);
  size_t position = static_cast<size_t>(std::max(lib.Settings().idxNextDownload, 0));
  CheckConnected(position < list.addresses.size() ? list.addresses[position] : place.vendorListUrl);
  InternetScan scan(lib, InternetScanRules{true, false, false, true, false});
  if (position >= list.addresses.size()) {
    lib.UI().SetProgressField(TProgressField::Path, "inet.dat");
    FetchFreshList(scan, place, list);
    position = 0;
  }
  size_t next = scan.Run(
      list.addresses, position, &list.excludes,
      [&](size_t entering) { SavePosition(lib, place, entering); },
      static_cast<size_t>(std::max(maxEntries, 0)));
  if (next < list.addresses.size()) SaveCrawlList(place, list);
  scan.Finish();
  if (scan.HeldMessage())
    lib.UI().ShowMessage(MakeMessage(TMessageKind::Information, *scan.HeldMessage()));
}

void ScanInternetLink(CollectionTarget& lib, const CrawlPlace& place) {
  lib.CheckNotBusy();
  // Without a network the dialog still opens for an address on this machine, the last one
  // typed; the address typed now is checked again once the dialog closes.
  CheckConnected(lib.Settings().LastOpenUrl);
  std::vector<std::string> shown;
  for (const std::string& entry : ReadCrawlList(place).addresses)
    shown.push_back(EntryDisplayText(entry));
  TSettings& settings = lib.Settings();
  auto choice = lib.UI().AskInternetAddress(AddressDialogRequest(
      settings.LastOpenUrl, settings.SearchWebForGif, settings.SearchWebForFavicon, shown));
  if (!choice) return;
  settings.LastOpenUrl = StoredAddress(choice->address, choice->explore);
  settings.SearchWebForGif = choice->takeImages;
  settings.SearchWebForFavicon = choice->siteIcons;
  if (!choice->scan) {
    DownloadAddresses(lib, {settings.LastOpenUrl}, {choice->takeImages, choice->siteIcons});
    return;
  }
  if (choice->scanIndex >= 0) {
    RemoveFileQuietly(place.localList);
    SavePosition(lib, place, static_cast<size_t>(choice->scanIndex));
  }
  FindOnInternet(lib, place);
}

}  // namespace varnel

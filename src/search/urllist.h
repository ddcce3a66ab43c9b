#pragma once
// The crawl list: the addresses the Internet crawl works through, and the exclude list of
// links that never enter it. Also the rules for its entries (levels, "#gif#", separators).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace varnel {

// An entry whose packed form does not unpack to itself.
class EUrlListEntry : public Exception {
 public:
  using Exception::Exception;
};

struct UrlList {
  std::vector<std::string> addresses;
  std::vector<std::string> excludes;
};

// File limits: a list file is at most this large, packed or unpacked.
constexpr int64_t kMaxUrlListBytes = 2097151;
// The smallest file that can be a valid list.
constexpr int64_t kMinUrlListBytes = 9;
// The first bytes of every list file.
constexpr uint8_t kUrlListSignature[5] = {0x50, 0x4B, 0x01, 0x01, 0x1A};

// Reads a list file. Returns false (lists left with what could be read, possibly nothing) when
// the file is missing, damaged, too large or its marker is not 0; never raises for content.
bool ReadUrlList(const std::string& path, UrlList& list);
// The same over the file's bytes.
bool DecodeUrlList(std::span<const uint8_t> bytes, UrlList& list);
// Writes a list file; raises EUrlListEntry for an entry that cannot be packed (it holds a byte
// from 1 to 23), EFileError when the file cannot be written. Nothing is written on failure.
void WriteUrlList(const std::string& path, const UrlList& list);
std::vector<uint8_t> EncodeUrlList(const UrlList& list);
// Size from kMinUrlListBytes to kMaxUrlListBytes and the signature in front.
bool IsValidUrlList(const std::string& path);

// Replaces the common address parts by the bytes 1..23, and back.
std::string PackUrl(std::string_view address);
std::string UnpackUrl(std::string_view packed);

// The marker in front of a crawl entry whose page takes GIF and PNG images.
constexpr std::string_view kGifMarker = "#gif#";

enum class CrawlEntryKind {
  Separator,  // an empty line: ends the links found on one page
  File,       // an absolute address, downloaded and loaded
  Page,       // "*" or "**" in front: a page scanned for links
  Skipped,    // anything else, passed over
};

struct CrawlEntry {
  CrawlEntryKind kind = CrawlEntryKind::Skipped;
  int level = 0;            // explore level: 0 for files, 1 or 2 for pages
  bool takeImages = false;  // the entry carried "#gif#" (only honoured in the crawl)
  std::string address;      // without markers
};

// Splits an entry into its markers and address; gifMarkers tells whether "#gif#" counts (the
// crawl) or leaves the entry to be passed over (the Download command).
CrawlEntry ParseCrawlEntry(std::string_view entry, bool gifMarkers);

// True when link contains any exclude entry (letter case significant).
bool IsExcludedLink(std::string_view link, const std::vector<std::string>& excludes);

// How a page's links enter the list.
struct LinkEntryRules {
  bool markImages = false;                             // "#gif#" in front of each link
  const std::vector<std::string>* excludes = nullptr;  // links containing one are left out
};
// Inserts the links of the page at entries[page] right after it: a separator line first, then
// each new link (not yet in the list ignoring letter case, not excluded) at page + 1, so they
// follow the page in reverse order. Returns the number of links entered.
size_t EnterPageLinks(std::vector<std::string>& entries, size_t page,
                      const std::vector<std::string>& links, const LinkEntryRules& rules);
// The entry after the first separator line at or after from; from itself when there is none
// (used to pass over the rest of one page's links).
size_t EntryAfterGroup(const std::vector<std::string>& entries, size_t from);

}  // namespace varnel

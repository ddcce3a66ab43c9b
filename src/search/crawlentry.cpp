// The entries of the crawl list: markers in front of addresses, separator lines, and how the
// links of a scanned page enter the list.

#include <unordered_set>

#include "search/htmltext.h"
#include "search/urllist.h"
#include "search/weblinks.h"

namespace varnel {

namespace {

// At most this many "*" in front of an entry count as its explore level.
constexpr int kMaxExploreLevel = 2;

void RemoveAll(std::string& text, std::string_view part) {
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
    text.erase(at, part.size());
}

}  // namespace

CrawlEntry ParseCrawlEntry(std::string_view entry, bool gifMarkers) {
  CrawlEntry parsed;
  if (entry.empty()) {
    parsed.kind = CrawlEntryKind::Separator;
    return parsed;
  }
  bool marked = gifMarkers && entry.starts_with(kGifMarker);
  if (!IsWebAddress(entry) && !entry.starts_with('*') && !marked) return parsed;
  parsed.address = std::string(entry);
  if (gifMarkers && parsed.address.find(kGifMarker) != std::string::npos) {
    RemoveAll(parsed.address, kGifMarker);
    parsed.takeImages = true;
  }
  while (parsed.level < kMaxExploreLevel && parsed.address.starts_with('*')) {
    parsed.address.erase(0, 1);
    ++parsed.level;
  }
  if (IsWebAddress(parsed.address))
    parsed.kind = parsed.level > 0 ? CrawlEntryKind::Page : CrawlEntryKind::File;
  return parsed;
}

bool IsExcludedLink(std::string_view link, const std::vector<std::string>& excludes) {
  for (const std::string& exclude : excludes)
    if (!exclude.empty() && link.find(exclude) != std::string_view::npos) return true;
  return false;
}

size_t EnterPageLinks(std::vector<std::string>& entries, size_t page,
                      const std::vector<std::string>& links, const LinkEntryRules& rules) {
  if (links.empty()) return 0;
  std::unordered_set<std::string> present;
  for (const std::string& entry : entries) present.insert(LowerAscii(entry));
  size_t at = std::min(page + 1, entries.size());
  entries.insert(entries.begin() + ptrdiff_t(at), std::string());
  size_t entered = 0;
  for (const std::string& found : links) {
    std::string link = rules.markImages ? std::string(kGifMarker) + found : found;
    if (rules.excludes && IsExcludedLink(link, *rules.excludes)) continue;
    if (!present.insert(LowerAscii(link)).second) continue;
    entries.insert(entries.begin() + ptrdiff_t(at), link);
    ++entered;
  }
  return entered;
}

size_t EntryAfterGroup(const std::vector<std::string>& entries, size_t from) {
  for (size_t i = from; i < entries.size(); ++i)
    if (entries[i].empty()) return i + 1;
  return from;
}

}  // namespace varnel

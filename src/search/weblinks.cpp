#include "search/weblinks.h"

#include <unordered_set>

#include "base/fileio.h"
#include "search/htmltext.h"
#include "search/pagescanner.h"

namespace varnel {

namespace {

// The largest page read from disk; downloads are far smaller.
constexpr uint64_t kMaxPageBytes = 64ull << 20;

// The ordered result with repeats (ignoring letter case) left out.
class LinkCollector {
 public:
  void Add(const std::string& link) {
    if (link.empty() || !seen_.insert(LowerAscii(link)).second) return;
    links_.push_back(link);
  }
  std::vector<std::string> Take() { return std::move(links_); }

 private:
  std::vector<std::string> links_;
  std::unordered_set<std::string> seen_;
};

// Files whose links are returned; GIF and PNG only while images are taken.
bool IsFileExtension(const std::string& x) {
  for (const char* known : {"zip", "rar", "ico", "icl", "icc", "cur", "ani", "gif", "png"})
    if (x == known) return true;
  return false;
}

bool IsPageExtension(const std::string& x) {
  return x.empty() || x == "cgi" || x == "php" || x == "asp" || x == "aspx" ||
         x.find("htm") != std::string::npos;
}

// The link as the scan returns it under its mode, or empty when it is not returned.
std::string LinkForMode(const std::string& link, const LinkScan& scan) {
  std::string x = UrlExtension(link);
  if ((x == "gif" || x == "png") && !scan.takeImages) return {};
  if (scan.mode == 2 && IsPageExtension(x)) return "*" + link;
  return IsFileExtension(x) ? link : std::string();
}

}  // namespace

std::vector<std::string> ExtractLinksFromText(std::string_view pageText,
                                              const std::string& pageAddress,
                                              const LinkScan& scan) {
  LinkCollector links;
  PageScanner scanner(pageText, pageAddress, scan.takeImages);
  while (auto link = scanner.NextLink()) {
    if (scan.siteIconPerLink) links.Add(FaviconUrl(*link));
    links.Add(LinkForMode(*link, scan));
  }
  if (scan.siteIconOfPage) links.Add(FaviconUrl(pageAddress));
  return links.Take();
}

std::vector<std::string> ExtractLinks(const std::string& pageFile, const std::string& pageAddress,
                                      const LinkScan& scan) {
  std::vector<uint8_t> bytes = ReadWholeFile(pageFile, kMaxPageBytes);
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return ExtractLinksFromText(text, pageAddress, scan);
}

}  // namespace varnel

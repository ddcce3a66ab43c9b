// seeds:
// Reads arbitrary bytes as a downloaded page: the first byte picks the scan's mode and flags,
// the rest is the page text. Every link found must be an absolute web address whose file name
// is a safe base name.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "search/weblinks.h"

namespace {

void CheckFileName(const std::string& link) {
  std::string name = varnel::UrlFileName(link);
  if (name.size() > varnel::kMaxUrlFileName || name.find_first_of("/\\") != std::string::npos ||
      name.find("..") != std::string::npos || name == ".")
    std::abort();
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  varnel::LinkScan scan;
  scan.mode = (data[0] & 1) ? 2 : 1;
  scan.takeImages = data[0] & 2;
  scan.siteIconPerLink = data[0] & 4;
  scan.siteIconOfPage = data[0] & 8;
  std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);
  for (const std::string& link :
       varnel::ExtractLinksFromText(page, "https://example.com/d/e/page.html", scan)) {
    std::string_view address = link;
    if (address.starts_with('*')) address.remove_prefix(1);
    if (!varnel::IsWebAddress(address)) std::abort();
    CheckFileName(link);
  }
  return 0;
}

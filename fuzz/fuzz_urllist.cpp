// seeds:
// Reads arbitrary bytes as a crawl list file. A list that reads back completely must read back
// unchanged after being written again (unless the written content would pass the size limit).

#include <cstdint>
#include <cstdlib>
#include <span>

#include "search/urllist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  varnel::UrlList list;
  if (!varnel::DecodeUrlList(std::span<const uint8_t>(data, size), list)) return 0;
  varnel::UrlList again;
  if (!varnel::DecodeUrlList(varnel::EncodeUrlList(list), again)) return 0;
  if (again.addresses != list.addresses || again.excludes != list.excludes) std::abort();
  return 0;
}

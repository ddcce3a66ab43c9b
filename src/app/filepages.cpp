#include "app/filepages.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "icons/advancedicon.h"

namespace varnel {
namespace {

// The flags of one page in /proc/self/pagemap.
constexpr uint64_t kPagePresent = uint64_t(1) << 63;
constexpr uint64_t kFileOrSharedPage = uint64_t(1) << 61;
// The largest block of a file's cached pages that one fault maps (a huge page): the blocks
// the ranges touch are released whole, whatever the fault brought in with the page it needed.
constexpr uintptr_t kBlockBytes = 2 * 1024 * 1024;
// Pagemap entries read at a time.
constexpr size_t kEntriesPerRead = 512;

struct PageRange {
  uintptr_t first;  // page numbers, end excluded
  uintptr_t end;
};

uintptr_t PageSize() {
  static const uintptr_t size = uintptr_t(sysconf(_SC_PAGESIZE));
  return size;
}

// The process's page map, opened once; -1 where the kernel offers none.
int PageMap() {
  static const int descriptor = open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
  return descriptor;
}

// The pages of the blocks the byte ranges lie on, sorted, overlapping and touching ones joined.
std::vector<PageRange> CoveredPages(const ByteRanges& ranges) {
  std::vector<PageRange> pages;
  uintptr_t blockPages = kBlockBytes / PageSize();
  for (std::span<const uint8_t> bytes : ranges) {
    if (bytes.empty()) continue;
    auto start = reinterpret_cast<uintptr_t>(bytes.data());
    uintptr_t first = start / kBlockBytes, last = (start + bytes.size() - 1) / kBlockBytes;
    pages.push_back({first * blockPages, (last + 1) * blockPages});
  }
  std::sort(pages.begin(), pages.end(),
            [](const PageRange& a, const PageRange& b) { return a.first < b.first; });
  std::vector<PageRange> joined;
  for (const PageRange& range : pages) {
    if (!joined.empty() && range.first <= joined.back().end)
      joined.back().end = std::max(joined.back().end, range.end);
    else
      joined.push_back(range);
  }
  return joined;
}

void Unmap(uintptr_t firstPage, uintptr_t endPage) {
  if (endPage > firstPage)
    madvise(reinterpret_cast<void*>(firstPage * PageSize()), (endPage - firstPage) * PageSize(),
            MADV_DONTNEED);
}

// Unmaps the runs of resident file pages in the range, reading their flags a batch at a time.
void ReleaseRange(PageRange range) {
  uint64_t entries[kEntriesPerRead];
  for (uintptr_t page = range.first; page < range.end;) {
    size_t count = std::min<uintptr_t>(kEntriesPerRead, range.end - page);
    ssize_t got =
        pread(PageMap(), entries, count * sizeof(uint64_t), off_t(page * sizeof(uint64_t)));
    if (got <= 0) return;
    count = size_t(got) / sizeof(uint64_t);
    uintptr_t runStart = page;
    for (size_t i = 0; i < count; ++i) {
      bool release = (entries[i] & kPagePresent) && (entries[i] & kFileOrSharedPage);
      if (release) continue;
      Unmap(runStart, page + i);
      runStart = page + i + 1;
    }
    Unmap(runStart, page + count);
    page += count;
  }
}

}  // namespace

void AddMappedImageRanges(const TAdvancedIcon& icon, ByteRanges& ranges) {
  const TSubIconList& images = icon.Images();
  for (int i = 0; i < images.Count(); ++i)
    if (images[i]->Data().Keeper()) ranges.push_back(images[i]->Data().Span());
}

void ReleaseFilePages(const ByteRanges& ranges) {
  if (ranges.empty() || PageMap() < 0) return;
  for (const PageRange& range : CoveredPages(ranges)) ReleaseRange(range);
}

}  // namespace varnel

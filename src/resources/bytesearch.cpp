#include "resources/bytesearch.h"

#include <algorithm>
#include <functional>

namespace varnel {

namespace {

using Searcher = std::boyer_moore_horspool_searcher<std::span<const uint8_t>::iterator>;

bool Searchable(std::span<const uint8_t> pattern, std::span<const uint8_t> data) {
  return !pattern.empty() && pattern.size() <= data.size();
}

int64_t SearchFrom(const Searcher& searcher, std::span<const uint8_t> data, int64_t from) {
  auto found = std::search(data.begin() + from, data.end(), searcher);
  return found == data.end() ? -1 : int64_t(found - data.begin());
}

}  // namespace

int64_t FindFirstOccurrence(std::span<const uint8_t> pattern, std::span<const uint8_t> data,
                            int64_t& count) {
  count = 0;
  if (!Searchable(pattern, data)) return -1;
  Searcher searcher(pattern.begin(), pattern.end());
  int64_t last = int64_t(data.size() - pattern.size());
  int64_t first = SearchFrom(searcher, data, 0);
  for (int64_t at = first; at >= 0; at = at < last ? SearchFrom(searcher, data, at + 1) : -1)
    ++count;
  return first;
}

int64_t FindNextOccurrence(std::span<const uint8_t> pattern, std::span<const uint8_t> data,
                           int64_t from) {
  if (!Searchable(pattern, data) || from < 0) return -1;
  if (uint64_t(from) > data.size() - pattern.size()) return -1;
  return SearchFrom(Searcher(pattern.begin(), pattern.end()), data, from);
}

}  // namespace varnel

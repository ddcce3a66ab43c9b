#include "collection/duplicatefinder.h"

#include <algorithm>
#include <unordered_map>

#include "collection/listlongint.h"
#include "resources/iconlist.h"

namespace varnel {

std::vector<int> FindDuplicatePositions(const std::vector<const TAdvancedIcon*>& icons,
                                        const std::vector<uint32_t>& hashes,
                                        const TDuplicateProgress& progress) {
  std::unordered_multimap<uint32_t, int> byHash;
  byHash.reserve(icons.size());
  for (int i = 0; i < int(icons.size()); ++i) byHash.emplace(hashes[size_t(i)], i);
  std::vector<int> duplicates;
  for (int a = int(icons.size()) - 1; a >= 0; --a) {
    if (a % 10 == 0 && progress && !progress(a)) break;
    const TAdvancedIcon& icon = *icons[size_t(a)];
    auto [first, last] = byHash.equal_range(hashes[size_t(a)]);
    for (auto it = first; it != last; ++it) {
      int i = it->second;
      if (i >= a) continue;
      const TAdvancedIcon& earlier = *icons[size_t(i)];
      if (earlier.Images().Count() == icon.Images().Count() && icon.SameIcon(earlier)) {
        duplicates.push_back(a);
        break;
      }
    }
  }
  return duplicates;
}

}  // namespace varnel

namespace varnel {

bool IsDuplicate(const TIconList& items, const TAdvancedIcon& icon, uint32_t hash,
                 const TListLongint& hashes) {
  int count = std::min(hashes.Count(), items.Count());
  for (int i = 0; i < count; ++i)
    if (uint32_t(hashes.Get(i)) == hash && icon.SameIcon(*items.Icons(i))) return true;
  return false;
}

}  // namespace varnel

#include "collection/duplicatefinder.h"

#include "base/errors.h"
#include "collection/iconhash.h"
#include "resources/iconlist.h"

namespace varnel {

namespace {

// Equal icons: the same number of images, each equal to its counterpart.
bool SameIcons(const TAdvancedIcon& a, const TAdvancedIcon& b) {
  if (a.Images().Count() != b.Images().Count()) return false;
  try {
    return a.SameIcon(b);
  } catch (const Exception&) {
    return false;  // an icon that cannot be rendered equals nothing
  }
}

}  // namespace

void TDuplicateIndex::Build(const TIconList& items) {
  positions_.clear();
  positions_.reserve(size_t(items.Count()));
  // An icon that cannot be rendered never matches.
  for (int i = 0; i < items.Count(); ++i)
    if (auto hash = HashOf(*items.Icons(i))) Add(*hash, i);
  built_ = true;
}

bool TDuplicateIndex::Contains(const TIconList& items, const TAdvancedIcon& icon,
                               uint32_t hash) const {
  auto [first, last] = positions_.equal_range(hash);
  for (auto it = first; it != last; ++it)
    if (it->second < items.Count() && SameIcons(icon, *items.Icons(it->second))) return true;
  return false;
}

void TDuplicateIndex::Add(uint32_t hash, int position) {
  positions_.emplace(hash, position);
}

std::optional<uint32_t> TDuplicateIndex::HashOf(const TAdvancedIcon& icon) {
  try {
    return SearchHash(icon);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

bool TDuplicateIndex::AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon,
                                       int position) {
  return AddUnlessPresent(items, icon, HashOf(icon), position);
}

bool TDuplicateIndex::AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon,
                                       std::optional<uint32_t> hash, int position) {
  if (!hash) return true;
  if (Contains(items, icon, *hash)) return false;
  Add(*hash, position);
  return true;
}

std::vector<int> FindDuplicatePositions(const std::vector<const TAdvancedIcon*>& icons,
                                        const std::vector<uint32_t>& hashes,
                                        const TDuplicateProgress& progress) {
  std::unordered_multimap<uint32_t, int> byHash;
  byHash.reserve(icons.size());
  for (int i = 0; i < int(icons.size()); ++i) byHash.emplace(hashes[size_t(i)], i);
  std::vector<int> duplicates;
  for (int a = int(icons.size()) - 1; a >= 0; --a) {
    if (a % 10 == 0 && progress && !progress(a)) break;
    auto [first, last] = byHash.equal_range(hashes[size_t(a)]);
    for (auto it = first; it != last; ++it) {
      if (it->second < a && SameIcons(*icons[size_t(a)], *icons[size_t(it->second)])) {
        duplicates.push_back(a);
        break;
      }
    }
  }
  return duplicates;
}

}  // namespace varnel

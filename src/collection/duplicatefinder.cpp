#include "collection/duplicatefinder.h"

#include "base/errors.h"
#include "collection/duplicategroups.h"
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
  unhashed_.clear();
  for (int i = 0; i < items.Count(); ++i) unhashed_[IconShapeKey(*items.Icons(i))].push_back(i);
  built_ = true;
}

void TDuplicateIndex::HashShape(const TIconList& items, uint64_t shape) {
  auto it = unhashed_.find(shape);
  if (it == unhashed_.end()) return;
  for (int position : it->second)
    if (position < items.Count())
      if (auto hash = HashOf(*items.Icons(position))) positions_.emplace(*hash, position);
  unhashed_.erase(it);
}

bool TDuplicateIndex::Contains(const TIconList& items, const TAdvancedIcon& icon, uint32_t hash) {
  // Items of a shape no icon met before are hashed now, once.
  HashShape(items, IconShapeKey(icon));
  auto [first, last] = positions_.equal_range(hash);
  for (auto it = first; it != last; ++it)
    if (it->second < items.Count() && SameIcons(icon, *items.Icons(it->second))) return true;
  return false;
}

void TDuplicateIndex::Add(const TAdvancedIcon& icon, std::optional<uint32_t> hash, int position) {
  (void)icon;  // its hash is known: the shape's other items wait for an icon that needs them
  if (hash) positions_.emplace(*hash, position);
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
  Add(icon, hash, position);
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

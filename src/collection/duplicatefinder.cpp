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
  positionsByShape_.clear();
  positionsByShape_.reserve(size_t(items.Count()));
  hashed_.assign(size_t(items.Count()), false);
  hashes_.assign(size_t(items.Count()), std::nullopt);
  for (int i = 0; i < items.Count(); ++i)
    positionsByShape_.emplace(IconShapeKey(*items.Icons(i)), i);
  built_ = true;
}

std::optional<uint32_t> TDuplicateIndex::ItemHash(const TIconList& items, int position) {
  size_t at = size_t(position);
  if (!hashed_[at]) {
    hashes_[at] = HashOf(*items.Icons(position));
    hashed_[at] = true;
  }
  return hashes_[at];
}

bool TDuplicateIndex::Contains(const TIconList& items, const TAdvancedIcon& icon, uint32_t hash) {
  auto [first, last] = positionsByShape_.equal_range(IconShapeKey(icon));
  for (auto it = first; it != last; ++it) {
    int position = it->second;
    if (position >= items.Count() || size_t(position) >= hashed_.size()) continue;
    const TAdvancedIcon& item = *items.Icons(position);
    // The same bytes draw the same: equal hashes and equal images without drawing.
    if (SameIconBytes(icon, item)) return true;
    if (ItemHash(items, position) == hash && SameIcons(icon, item)) return true;
  }
  return false;
}

void TDuplicateIndex::Add(const TAdvancedIcon& icon, std::optional<uint32_t> hash, int position) {
  size_t at = size_t(position);
  if (hashed_.size() <= at) {
    hashed_.resize(at + 1, false);
    hashes_.resize(at + 1);
  }
  hashed_[at] = true;
  hashes_[at] = hash;
  positionsByShape_.emplace(IconShapeKey(icon), position);
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

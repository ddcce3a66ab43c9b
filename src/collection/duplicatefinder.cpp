#include "collection/duplicatefinder.h"

#include <algorithm>

#include "base/errors.h"
#include "collection/duplicategroups.h"
#include "collection/hashmix.h"
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

// The keys of the two entry maps.
uint64_t PathsKey(uint32_t search, uint64_t paths) {
  return MixHash(search, paths);
}

uint64_t PixelsKey(uint32_t search, const IconPixelKey& key) {
  return MixHash(PathsKey(search, key.paths), key.pixels);
}

}  // namespace

void TDuplicateIndex::Build(const TIconList& items) {
  byPixels_.clear();
  byPaths_.clear();
  pathsOfSearch_.clear();
  byBytes_.clear();
  unhashed_.clear();
  for (int i = 0; i < items.Count(); ++i) unhashed_[IconShapeKey(*items.Icons(i))].push_back(i);
  built_ = true;
}

void TDuplicateIndex::HashShape(const TIconList& items, uint64_t shape) {
  auto it = unhashed_.find(shape);
  if (it == unhashed_.end()) return;
  for (int position : it->second)
    if (position < items.Count())
      if (auto hash = HashOf(*items.Icons(position)))
        Add(*hash, IconBytesKey(*items.Icons(position)), position);
  unhashed_.erase(it);
}

void TDuplicateIndex::Add(const DuplicateHash& hash, uint64_t bytes, int position) {
  byBytes_.emplace(bytes, position);
  Entry entry{position, hash.search, hash.pixels.paths};
  byPixels_.emplace(PixelsKey(hash.search, hash.pixels), entry);
  byPaths_.emplace(PathsKey(hash.search, hash.pixels.paths), entry);
  std::vector<uint64_t>& paths = pathsOfSearch_[hash.search];
  if (std::find(paths.begin(), paths.end(), hash.pixels.paths) == paths.end())
    paths.push_back(hash.pixels.paths);
}

bool TDuplicateIndex::HoldsBytesOf(const TIconList& items, const TAdvancedIcon& icon,
                                   uint64_t bytes) const {
  auto [first, last] = byBytes_.equal_range(bytes);
  for (auto it = first; it != last; ++it)
    if (it->second < items.Count() && SameIconBytes(icon, *items.Icons(it->second))) return true;
  return false;
}

bool TDuplicateIndex::AnyEqual(const TIconList& items, const TAdvancedIcon& icon,
                               const Entries& entries, uint64_t key, uint32_t search,
                               uint64_t paths) const {
  auto [first, last] = entries.equal_range(key);
  for (auto it = first; it != last; ++it) {
    const Entry& entry = it->second;
    if (entry.search == search && entry.paths == paths && entry.position < items.Count() &&
        SameIcons(icon, *items.Icons(entry.position)))
      return true;
  }
  return false;
}

bool TDuplicateIndex::Contains(const TIconList& items, const TAdvancedIcon& icon,
                               const DuplicateHash& hash) {
  // Items of a shape no icon met before are hashed now, once.
  HashShape(items, IconShapeKey(icon));
  auto found = pathsOfSearch_.find(hash.search);
  if (found == pathsOfSearch_.end()) return false;
  for (uint64_t paths : found->second) {
    // Where both icons' images take the same paths, only equal pixel keys can be equal icons.
    bool keyed = paths == hash.pixels.paths && hash.pixels.PathsKnown();
    if (keyed ? AnyEqual(items, icon, byPixels_, PixelsKey(hash.search, hash.pixels), hash.search,
                         paths)
              : AnyEqual(items, icon, byPaths_, PathsKey(hash.search, paths), hash.search, paths))
      return true;
  }
  return false;
}

std::optional<DuplicateHash> TDuplicateIndex::HashOf(const TAdvancedIcon& icon) {
  try {
    return DuplicateHash{SearchHash(icon), PixelKeyOf(icon)};
  } catch (const Exception&) {
    return std::nullopt;
  }
}

DuplicateKeys TDuplicateIndex::KeysOf(const TAdvancedIcon& icon, uint64_t bytes, bool hash) {
  return {bytes, hash, hash ? HashOf(icon) : std::nullopt};
}

bool TDuplicateIndex::AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon,
                                       int position) {
  return AddUnlessPresent(items, icon, KeysOf(icon, IconBytesKey(icon), true), position);
}

bool TDuplicateIndex::AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon,
                                       DuplicateKeys keys, int position) {
  // An item of the same bytes renders as this icon does: a copy, and hashed alike.
  HashShape(items, IconShapeKey(icon));
  if (HoldsBytesOf(items, icon, keys.bytes)) return false;
  if (!keys.hashed) keys.hash = HashOf(icon);
  if (!keys.hash) return true;
  if (Contains(items, icon, *keys.hash)) return false;
  Add(*keys.hash, keys.bytes, position);
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

#pragma once
// Finding copies of equal icons: an index of the items' hashes, so that an icon is compared
// image by image only with the items whose hash equals its own. Items are hashed only when an
// icon of their shape (see IconShapeKey) is looked up.

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "collection/pixelkey.h"
#include "icons/advancedicon.h"

namespace varnel {

class TIconList;

// What the index keeps of an icon: the search hash equal icons share, and the key of what their
// comparison looks at.
struct DuplicateHash {
  uint32_t search = 0;
  IconPixelKey pixels;
};

// What a read takes of an icon for the index, possibly on another thread: the key of its bytes,
// and its hash unless it was left to the index (whose copies of the same bytes make hashing
// needless).
struct DuplicateKeys {
  uint64_t bytes = 0;
  bool hashed = false;
  std::optional<DuplicateHash> hash;  // nothing, once hashed, for an icon that cannot be rendered
};

// Search hashes of a collection's items by position, taken on demand. It serves one search or
// merge, during which items are only appended. An item that cannot be rendered never matches.
// An icon is compared with the items of its search hash whose pixel key equals its own, and with
// those whose images take other comparison paths: no other item can equal it.
class TDuplicateIndex {
 public:
  // Indexes every item of the list by shape; nothing is drawn yet.
  void Build(const TIconList& items);
  bool Built() const { return built_; }
  // True when an item with the same search hash holds the same images as icon.
  bool Contains(const TIconList& items, const TAdvancedIcon& icon, const DuplicateHash& hash);
  // Indexes the item at position by its keys.
  void Add(const DuplicateHash& hash, uint64_t bytes, int position);
  // Hashes icon; when no equal item is present, indexes it as the item at position and
  // returns true. An icon that cannot be rendered is taken as unique.
  bool AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon, int position);
  // The same with the keys taken beforehand (KeysOf), possibly on another thread. An item with
  // the same bytes makes the icon a copy without hashing it.
  bool AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon, DuplicateKeys keys,
                        int position);
  // The hash the index keeps of icon; nothing when the icon cannot be rendered.
  static std::optional<DuplicateHash> HashOf(const TAdvancedIcon& icon);
  // The keys of icon, whose bytes key is given, hashed when asked.
  static DuplicateKeys KeysOf(const TAdvancedIcon& icon, uint64_t bytes, bool hash);

 private:
  struct Entry {
    int position;
    uint32_t search;
    uint64_t paths;
  };
  using Entries = std::unordered_multimap<uint64_t, Entry>;

  // Hashes the items of shape that are still waiting, so that the hash index holds them.
  void HashShape(const TIconList& items, uint64_t shape);
  bool HoldsBytesOf(const TIconList& items, const TAdvancedIcon& icon, uint64_t bytes) const;
  bool AnyEqual(const TIconList& items, const TAdvancedIcon& icon, const Entries& entries,
                uint64_t key, uint32_t search, uint64_t paths) const;

  // The items by search hash, comparison paths and pixel key; by search hash and paths; and
  // the distinct paths met with each search hash.
  Entries byPixels_;
  Entries byPaths_;
  std::unordered_map<uint32_t, std::vector<uint64_t>> pathsOfSearch_;
  // The items by the key of their bytes (IconBytesKey).
  std::unordered_multimap<uint64_t, int> byBytes_;
  // Items indexed by Build and not hashed yet, by shape (IconShapeKey): an item is hashed only
  // once an icon of its shape is looked up.
  std::unordered_map<uint64_t, std::vector<int>> unhashed_;
  bool built_ = false;
};

// Called every 10 positions with the position reached; returning false stops the work.
using TDuplicateProgress = std::function<bool(int position)>;

// The positions, from the last down, of the icons that equal an icon at a lower position
// (same image count, same hash, same images), so that of every group of equal icons the first
// stays. A stop returns the positions found so far.
std::vector<int> FindDuplicatePositions(const std::vector<const TAdvancedIcon*>& icons,
                                        const std::vector<uint32_t>& hashes,
                                        const TDuplicateProgress& progress);

}  // namespace varnel

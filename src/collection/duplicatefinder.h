#pragma once
// Finding copies of equal icons: an index of the items by shape (see IconShapeKey), so that an
// icon is compared only with the items that can equal it: byte for byte first, then by hash
// (taken when first needed) and image by image.

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

class TIconList;

// The items of a collection by shape, with their search hashes taken on demand. It serves one
// search or merge, during which items are only appended. It gives what an index of every
// item's hash gives: an item that cannot be rendered never matches.
class TDuplicateIndex {
 public:
  // Indexes every item of the list by shape; nothing is drawn.
  void Build(const TIconList& items);
  bool Built() const { return built_; }
  // True when an item with the same hash holds the same images as icon.
  bool Contains(const TIconList& items, const TAdvancedIcon& icon, uint32_t hash);
  // Indexes icon, with its hash, as the item at position.
  void Add(const TAdvancedIcon& icon, std::optional<uint32_t> hash, int position);
  // Hashes icon; when no equal item is present, indexes it as the item at position and
  // returns true. An icon that cannot be rendered is taken as unique.
  bool AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon, int position);
  // The same with the hash taken beforehand (HashOf), possibly on another thread.
  bool AddUnlessPresent(const TIconList& items, const TAdvancedIcon& icon,
                        std::optional<uint32_t> hash, int position);
  // The hash the index keeps of icon; nothing when the icon cannot be rendered.
  static std::optional<uint32_t> HashOf(const TAdvancedIcon& icon);

 private:
  // The hash of the item at position, taken the first time it is asked for.
  std::optional<uint32_t> ItemHash(const TIconList& items, int position);

  std::unordered_multimap<uint64_t, int> positionsByShape_;
  // By position: whether the hash was taken, and what it is.
  std::vector<bool> hashed_;
  std::vector<std::optional<uint32_t>> hashes_;
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

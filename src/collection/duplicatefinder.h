#pragma once
// Finding the later copies of equal icons in an ordered list.

#include <cstdint>
#include <functional>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

// Called every 10 positions with the position reached; returning false stops the work.
using TDuplicateProgress = std::function<bool(int position)>;

// The positions, from the last down, of the icons that equal an icon at a lower position
// (same image count, same hash, same images), so that of every group of equal icons the first
// stays. Candidates are looked up by hash instead of visiting every pair. A stop returns the
// positions found so far.
std::vector<int> FindDuplicatePositions(const std::vector<const TAdvancedIcon*>& icons,
                                        const std::vector<uint32_t>& hashes,
                                        const TDuplicateProgress& progress);

}  // namespace varnel

namespace varnel {

class TIconList;
class TListLongint;

// True when some entry of hashes equals hash and the item at that position holds the same
// images as icon.
bool IsDuplicate(const TIconList& items, const TAdvancedIcon& icon, uint32_t hash,
                 const TListLongint& hashes);

}  // namespace varnel

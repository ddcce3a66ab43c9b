#pragma once
// Turning each group of similar icons into one icon that holds all their sizes and depths.

#include <memory>
#include <vector>

#include "collection/collection.h"

namespace varnel {

// One icon holding one image of each distinct size and depth of the icons, in their order, so
// that of equal ones the first icon's image is kept; the images ordered as icon files order
// them (deepest, then largest, first).
std::unique_ptr<TAdvancedIcon> MergeIconImages(const std::vector<const TAdvancedIcon*>& icons);

// Replaces each group (ascending positions, no position in two groups) by its merged icon,
// put at the place of the group's first icon with that icon's name and source; the other
// items stay in their order. Returns how many items went.
int MergeSimilarGroups(TCollection& collection, const std::vector<std::vector<int>>& groups);

}  // namespace varnel

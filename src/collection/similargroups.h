#pragma once
// Grouping the icons that are one picture at other sizes or depths.

#include <vector>

#include "collection/similarindex.h"

namespace varnel {

// The distance below which two icons count as one picture unless told otherwise.
inline constexpr int kDefaultSimilarThreshold = 1000;
// How many nearest pictures of each picture are taken as candidates for its group.
inline constexpr int kGroupCandidates = 12;

// The groups of at least two icons, each a list of positions in ascending order, the groups in
// the order of their first icons; every icon is in at most one group. Copies of one picture
// always share a group. Two groups join only when every picture of one lies within threshold
// of every picture of the other, closest pairs first, and when they hold no two different
// pictures drawn at the same size and depth. nearestPictures: the index's AllNearestPictures.
std::vector<std::vector<int>> FindSimilarGroups(
    const SimilarIndex& index, const std::vector<std::vector<SimilarNeighbour>>& nearestPictures,
    int threshold);

}  // namespace varnel

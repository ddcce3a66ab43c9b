#pragma once
// Finding the copies among a collection's icons without drawing those that cannot have one.
// Icons are grouped by what equal icons must share (image count, and each image's width,
// height and colour count, all read from the images' headers); an icon alone in its group has
// no copy. Inside a group, icons whose images are byte for byte those of an earlier icon are
// copies of it without any drawing. Only the icons left, the first of each set of identical
// ones in groups that still hold two or more, are drawn and hashed, on all cores, and compared
// as the icon model compares them.

#include <cstdint>
#include <functional>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

// A key that equal icons share: the image count and each image's width, height, colour count
// and whether it holds data. Read from the images' headers only.
uint64_t IconShapeKey(const TAdvancedIcon& icon);
// A hash of the images' bytes, so that identical icons meet before their bytes are compared.
uint64_t IconBytesKey(const TAdvancedIcon& icon);
// True when both icons' images hold the same bytes for the same depth and colour count: equal
// icons, whatever else their entries say (where they lay in their files).
bool SameIconBytes(const TAdvancedIcon& a, const TAdvancedIcon& b);

// Called from time to time with how many icons the current pass still has to do, and whether
// it is the hashing pass; returning false stops the work.
using DuplicateScanProgress = std::function<bool(int remaining, bool hashing)>;

// The positions, from the last down, of the icons equal to an icon at a lower position, the
// same positions FindDuplicatePositions gives with CompareHash as the hashes: same image count,
// same compare hash, SameIcon. A stop while hashing gives nothing; one while comparing gives
// the positions found so far. threads 0 means one per core.
std::vector<int> FindDuplicatesGrouped(const std::vector<const TAdvancedIcon*>& icons,
                                       const DuplicateScanProgress& progress, int threads = 0);

}  // namespace varnel

#pragma once
// The collection window's commands over similar icons: selecting the icons alike the current
// one, and merging the icons that are one picture at other sizes into one icon each. Both run
// as long operations whose stop ends them without a change.

#include "collection/fmlib.h"
#include "collection/similargroups.h"

namespace varnel {

// "Find Similar Icons": selects the current icon and every icon within threshold of it, and
// makes the nearest of them current. Returns how many were found besides the current one;
// says so when there is none (or no current icon).
int FindSimilarIcons(TfmLib& lib, int threshold = kDefaultSimilarThreshold);

// "Merge Similar Sizes": groups the selected icons (all icons when fewer than two are
// selected), asks, and replaces each group by one icon holding its sizes. The collection is then
// modified, so that closing it without saving undoes the merge. Returns how many icons went.
int MergeSimilarSizes(TfmLib& lib, int threshold = kDefaultSimilarThreshold);

}  // namespace varnel

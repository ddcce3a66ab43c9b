#pragma once
// Moving the selected items of the collection to the place they are dropped on in the grid.

#include <vector>

namespace varnel {

class TfmLib;

struct TDropPlan {
  std::vector<int> order;  // the old index of each item in its new place; empty: nothing moves
  int lastMoved = -1;      // the new index of the last moved item
};

// The order after the selected items are dropped on item target (-1 or past the end: the last
// item). They are taken out from the last to the first; each taken out before the target moves
// it one place back, except the highest one; then they go in again, in their former order, at
// the target when it is still inside what remains, else at the end. So a block dropped on an
// item after it ends right after that item, one dropped on an item before it right before it.
TDropPlan PlanDrop(const std::vector<bool>& selected, int target);

// Carries out the drop on the collection, with both source entries of every item; the new
// index of the last moved item, or -1 when nothing moved.
int MoveSelectedItems(TfmLib& lib, int target);

}  // namespace varnel

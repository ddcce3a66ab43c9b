#include "app/gridreorder.h"

#include "collection/fmlib.h"

namespace varnel {

TDropPlan PlanDrop(const std::vector<bool>& selected, int target) {
  int count = int(selected.size());
  TDropPlan plan;
  if (count < 2) return plan;
  if (target < 0 || target >= count) target = count - 1;
  std::vector<int> moved, remaining;
  bool first = true;
  for (int i = count - 1; i >= 0; --i) {
    if (!selected[size_t(i)]) continue;
    if (i < target && !first) --target;
    first = false;
    moved.insert(moved.begin(), i);
  }
  if (moved.empty()) return plan;
  for (int i = 0; i < count; ++i)
    if (!selected[size_t(i)]) remaining.push_back(i);
  int at = target < int(remaining.size()) ? target : int(remaining.size());
  plan.order = remaining;
  plan.order.insert(plan.order.begin() + at, moved.begin(), moved.end());
  plan.lastMoved = at + int(moved.size()) - 1;
  return plan;
}

int MoveSelectedItems(TfmLib& lib, int target) {
  std::vector<bool> selected(static_cast<size_t>(lib.Count()));
  for (int i = 0; i < lib.Count(); ++i) selected[size_t(i)] = lib.IsSelected(i);
  TDropPlan plan = PlanDrop(selected, target);
  if (plan.order.empty()) return -1;
  lib.ReorderItems(plan.order);
  return plan.lastMoved;
}

}  // namespace varnel

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

namespace {

void ApplyOrder(TfmLib& lib, const std::vector<int>& order) {
  int count = lib.Count();
  std::vector<int32_t> sources(static_cast<size_t>(count)), positions(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    sources[size_t(i)] = lib.SourceIndex.GetOr(i, -1);
    positions[size_t(i)] = lib.SourcePosition.GetOr(i, -1);
  }
  // Take the items out from the end (cheap for the list), then put them back in the new order.
  std::vector<TIconList> taken(static_cast<size_t>(count));
  for (int i = count - 1; i >= 0; --i) lib.Items().MoveIconTo(i, taken[size_t(i)]);
  for (int old : order) taken[size_t(old)].MoveIconTo(0, lib.Items());
  int sourceCount = lib.SourceIndex.Count(), positionCount = lib.SourcePosition.Count();
  for (int i = 0; i < count; ++i) {
    int old = order[size_t(i)];
    if (i < sourceCount) lib.SourceIndex.Put(i, sources[size_t(old)]);
    if (i < positionCount) lib.SourcePosition.Put(i, positions[size_t(old)]);
  }
}

}  // namespace

int MoveSelectedItems(TfmLib& lib, int target) {
  std::vector<bool> selected(static_cast<size_t>(lib.Count()));
  for (int i = 0; i < lib.Count(); ++i) selected[size_t(i)] = lib.IsSelected(i);
  TDropPlan plan = PlanDrop(selected, target);
  if (plan.order.empty()) return -1;
  ApplyOrder(lib, plan.order);
  return plan.lastMoved;
}

}  // namespace varnel

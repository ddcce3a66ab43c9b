#include "resources/iconlist.h"

#include <algorithm>
#include <stdexcept>

namespace varnel {

void TIconList::AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon, TItemSource source) {
  if (!icon) return;
  if (name.empty()) name = "Icon " + std::to_string(Count() + 1);
  items_.push_back({std::move(name), std::move(icon), source});
}

void TIconList::InsertItem(int index, Item item) {
  if (!item.icon) return;
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, std::move(item));
}

TIconList::Item TIconList::TakeItem(int index) {
  Item item = std::move(items_.at(size_t(index)));
  items_.erase(items_.begin() + index);
  return item;
}

void TIconList::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TIconList::DeleteMany(const std::vector<int>& positions) {
  std::vector<bool> doomed(items_.size());
  for (int position : positions)
    if (position >= 0 && position < Count()) doomed[size_t(position)] = true;
  size_t kept = 0;
  for (size_t i = 0; i < items_.size(); ++i)
    if (!doomed[i]) {
      if (kept != i) items_[kept] = std::move(items_[i]);
      ++kept;
    }
  items_.resize(kept);
}

void TIconList::MoveIconTo(int index, TIconList& dest) {
  MoveIconToPosition(index, dest, dest.Count());
}

void TIconList::MoveIconToPosition(int index, TIconList& dest, int destIndex) {
  dest.InsertItem(destIndex, TakeItem(index));
}

void TIconList::Reorder(const std::vector<int>& order) {
  std::vector<bool> used(items_.size());
  for (int old : order) {
    if (old < 0 || size_t(old) >= used.size() || used[size_t(old)])
      throw std::invalid_argument("not a reordering of the list");
    used[size_t(old)] = true;
  }
  if (order.size() != items_.size()) throw std::invalid_argument("not a reordering of the list");
  std::vector<Item> sorted;
  sorted.reserve(order.size());
  for (int old : order) sorted.push_back(std::move(items_.at(size_t(old))));
  items_ = std::move(sorted);
}

}  // namespace varnel

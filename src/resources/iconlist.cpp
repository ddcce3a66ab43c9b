#include "resources/iconlist.h"

#include <algorithm>

namespace varnel {

void TIconList::AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  if (!icon) return;
  if (name.empty()) name = "Icon " + std::to_string(Count() + 1);
  items_.push_back({std::move(name), std::move(icon)});
}

void TIconList::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TIconList::MoveIconTo(int index, TIconList& dest) {
  MoveIconToPosition(index, dest, dest.Count());
}

void TIconList::MoveIconToPosition(int index, TIconList& dest, int destIndex) {
  Item item = std::move(items_.at(size_t(index)));
  items_.erase(items_.begin() + index);
  destIndex = std::clamp(destIndex, 0, dest.Count());
  dest.items_.insert(dest.items_.begin() + destIndex, std::move(item));
}

}  // namespace varnel

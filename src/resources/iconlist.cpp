#include "resources/iconlist.h"

namespace varnel {

void TIconList::AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  if (!icon) return;
  if (name.empty()) name = "Icon " + std::to_string(Count() + 1);
  items_.push_back({std::move(name), std::move(icon)});
}

void TIconList::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

}  // namespace varnel

#pragma once
// The ordered list of named icons that owns its icons; unnamed icons get "Icon <position>".

#include <memory>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

class TIconList {
 public:
  int Count() const { return int(items_.size()); }
  const std::string& Names(int index) const { return items_.at(size_t(index)).name; }
  TAdvancedIcon* Icons(int index) const { return items_.at(size_t(index)).icon.get(); }

  // Appends the icon (nothing for none); an empty name becomes "Icon " and the new position.
  void AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon);
  // Frees the icon at index and removes the item.
  void Delete(int index);
  void Clear() { items_.clear(); }

 private:
  struct Item {
    std::string name;
    std::unique_ptr<TAdvancedIcon> icon;
  };
  std::vector<Item> items_;
};

}  // namespace varnel

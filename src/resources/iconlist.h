#pragma once
// The ordered list of named icons that owns its icons; unnamed icons get "Icon <position>".

#include <memory>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

class TFilerReader;
class TFilerWriter;

// The orders SortIcons knows.
enum class IconSortKind {
  Reverse = 1,
  ByName = 2,
  ByNumberInName = 3,
  ByImageCount = 4,
  BySize = 5,
  ByColorDepth = 6,
};

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
  void SetName(int index, std::string name) { items_.at(size_t(index)).name = std::move(name); }

  // Moves the item (name and icon) to the end of dest / to destIndex of dest, without freeing.
  void MoveIconTo(int index, TIconList& dest);
  void MoveIconToPosition(int index, TIconList& dest, int destIndex);
  // Reorders the items (see IconSortKind); any other kind does nothing.
  void SortIcons(int kind);

  // The "ICONS" property of component streams: 0, 1, the count, then per item the name and
  // the icon's data, then 0.
  void WriteIconList(TFilerWriter& writer) const;
  // Replaces the items by those the stream holds.
  void ReadIconList(TFilerReader& reader);

 private:
  struct Item {
    std::string name;
    std::unique_ptr<TAdvancedIcon> icon;
  };
  std::vector<Item> items_;
};

}  // namespace varnel

#pragma once
// The ordered list of named icons that owns its icons; unnamed icons get "Icon <position>".
// Each item is one record: its name, its icon and where it came from, so that every move,
// insertion and reordering carries all three together.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

class TFilerReader;
class TFilerWriter;

// Where an item came from: an entry of its owner's table of source files (-1 for none) and its
// 0-based position among the icons taken from that source (-1 for none).
struct TItemSource {
  int32_t index = -1;
  int32_t position = -1;
  bool operator==(const TItemSource&) const = default;
};

// The orders of sorting, in the numbering menus and files use.
enum class TSortMode {
  Backward = 1,
  Name = 2,
  NameAsNumber = 3,
  ImageCount = 4,
  ImageSize = 5,
  ColorDepth = 6,
  Source = 7,
};

class TIconList {
 public:
  struct Item {
    std::string name;
    std::unique_ptr<TAdvancedIcon> icon;
    TItemSource source;
  };

  int Count() const { return int(items_.size()); }
  const std::string& Names(int index) const { return items_.at(size_t(index)).name; }
  TAdvancedIcon* Icons(int index) const { return items_.at(size_t(index)).icon.get(); }
  const TItemSource& Source(int index) const { return items_.at(size_t(index)).source; }
  void SetSource(int index, TItemSource source) { items_.at(size_t(index)).source = source; }

  // Appends the icon (nothing for none); an empty name becomes "Icon " and the new position.
  void AddIcon(std::string name, std::unique_ptr<TAdvancedIcon> icon, TItemSource source = {});
  // Puts a whole record at index (clamped to the list), keeping its name as it is.
  void InsertItem(int index, Item item);
  // Takes the record at index out of the list.
  Item TakeItem(int index);
  // Frees the icon at index and removes the item.
  void Delete(int index);
  // Frees the icons at the given positions and removes their items in one pass (positions
  // outside the list, and repeats, are ignored).
  void DeleteMany(const std::vector<int>& positions);
  void Clear() { items_.clear(); }
  void SetName(int index, std::string name) { items_.at(size_t(index)).name = std::move(name); }

  // Moves the item to the end of dest / to destIndex of dest, without freeing.
  void MoveIconTo(int index, TIconList& dest);
  void MoveIconToPosition(int index, TIconList& dest, int destIndex);
  // Puts the items in a new order: order[i] is the old position of the item that goes to i.
  void Reorder(const std::vector<int>& order);

  // Reorders the items by mode. The Source mode orders by the text sourceKey gives for an item
  // (without one, the list is left alone). Every order but the reversal keeps items with equal
  // keys in their current order.
  using SourceKey = std::function<std::string(const Item&)>;
  void SortIcons(TSortMode mode, const SourceKey& sourceKey = nullptr);
  // The orders by number, 1 to 6; any other kind does nothing.
  void SortIcons(int kind);

  // The "ICONS" property of component streams: 0, 1, the count, then per item the name and
  // the icon's data, then 0.
  void WriteIconList(TFilerWriter& writer) const;
  // Replaces the items by those the stream holds.
  void ReadIconList(TFilerReader& reader);

 private:
  std::vector<Item> items_;
};

}  // namespace varnel

#pragma once
// What the collection needs of the view that shows it: the cursor and the redraws.

#include <optional>

namespace varnel {

class TGridView {
 public:
  virtual ~TGridView() = default;
  // The item under the cursor, -1 for none.
  virtual int Current() const = 0;
  virtual void SetCurrent(int index) = 0;
  // The number of items changed: lay the cells out again.
  virtual void Relayout() = 0;
  virtual void Repaint() = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void Focus() = 0;
  // While locked the view does not lay itself out as items are added.
  virtual void SetLayoutLocked(bool locked) = 0;
  // Selection flags changed: drop anything cached about them.
  virtual void SelectionChanged() = 0;
  // The count of selected items, for a view that keeps it between selection changes; nothing
  // for one that does not (the collection then counts them).
  virtual std::optional<int> KeptSelectedCount() { return std::nullopt; }
  // Items from shown to the end were added by a running search: show them, letting the cursor
  // follow the newest.
  virtual void GrowGrid(int shown) { Relayout(); }
};

// A view without a window: only the cursor.
class TPlainGridView : public TGridView {
 public:
  int Current() const override { return current_; }
  void SetCurrent(int index) override { current_ = index; }
  void Relayout() override {}
  void Repaint() override {}
  void SetEnabled(bool) override {}
  void Focus() override {}
  void SetLayoutLocked(bool) override {}
  void SelectionChanged() override {}

 private:
  int current_ = -1;
};

}  // namespace varnel

// TfmLib: sorting and reordering the collection; every item keeps its source.

#include "collection/fmlib.h"

namespace varnel {

void TfmLib::ReorderItems(const std::vector<int>& order) {
  Document.Reorder(order);
}

void TfmLib::SortIcons(TSortMode mode) {
  CheckNotBusy();
  if (Count() < 2) return;
  UI().SetWaitCursor(true);
  try {
    Document.Sort(mode);
  } catch (...) {
    UI().SetWaitCursor(false);
    throw;
  }
  UI().SetWaitCursor(false);
  SetModified(true);
  grid_.Repaint();
}

}  // namespace varnel

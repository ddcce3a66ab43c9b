#pragma once
// The recent-file slots of the File menu, as the recent-files list fills them.

#include <QObject>
#include <functional>
#include <vector>

#include "appcore/reopenfileholder.h"

class QAction;
class QMenu;

namespace varnel {

class TRecentFilesActions : public TRecentFilesMenu {
 public:
  static constexpr int kSlots = 5;
  // Adds the slots and their closing separator to menu; triggered(slot) opens a slot.
  TRecentFilesActions(QMenu* menu, std::function<void(int)> triggered);

  int SlotCount() const override { return kSlots; }
  void SetSlot(int slot, bool visible, const std::string& caption,
               const std::string& hint) override;
  void SetEndMarkerVisible(bool visible) override;
  void DetachPictures() override {}
  void AttachPictures() override {}
  QAction* Slot(int slot) const { return slots_.at(size_t(slot)); }

 private:
  std::vector<QAction*> slots_;
  QAction* endMarker_;
};

}  // namespace varnel

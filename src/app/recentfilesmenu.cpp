#include "app/recentfilesmenu.h"

#include <QAction>
#include <QMenu>

namespace varnel {

TRecentFilesActions::TRecentFilesActions(QMenu* menu, std::function<void(int)> triggered) {
  for (int slot = 0; slot < kSlots; ++slot) {
    QAction* action = menu->addAction(QStringLiteral("&%1. File").arg(slot + 1));
    action->setObjectName(QStringLiteral("mnFile%1").arg(slot + 1));
    action->setVisible(false);
    QObject::connect(action, &QAction::triggered, menu, [triggered, slot] { triggered(slot); });
    slots_.push_back(action);
  }
  endMarker_ = menu->addSeparator();
  endMarker_->setVisible(false);
}

void TRecentFilesActions::SetSlot(int slot, bool visible, const std::string& caption,
                                  const std::string& hint) {
  if (slot < 0 || slot >= kSlots) return;
  QAction* action = slots_[size_t(slot)];
  action->setVisible(visible);
  action->setText(QString::fromStdString(caption));
  action->setStatusTip(QString::fromStdString(hint));
}

void TRecentFilesActions::SetEndMarkerVisible(bool visible) {
  endMarker_->setVisible(visible);
}

}  // namespace varnel

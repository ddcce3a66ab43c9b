// The grid's gestures: clicks, rubber band, drag and drop, keys and hints.

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolTip>

#include "app/localgrid.h"
#include "collection/fmlib.h"

namespace varnel {
namespace {

// The drag of grid items carries no data: only drops from the grid itself are accepted.
const QString kGridItemsMime = QStringLiteral("application/x-varnel-grid-items");

bool Ctrl(Qt::KeyboardModifiers modifiers) {
  return modifiers & Qt::ControlModifier;
}
bool Shift(Qt::KeyboardModifiers modifiers) {
  return modifiers & Qt::ShiftModifier;
}

}  // namespace

// --- Mouse ---------------------------------------------------------------------------------

void TLocalGrid::contextMenuEvent(QContextMenuEvent* event) {
  // The right button has already made the item under it the selection.
  if (OnContextMenu) OnContextMenu(event->globalPos());
  event->accept();
}

void TLocalGrid::mousePressEvent(QMouseEvent* event) {
  if (!lib_) return;
  setFocus();
  QPoint point = event->position().toPoint();
  int item = HitTest(point);
  if (event->button() == Qt::RightButton) {
    if (item >= 0 && !lib_->IsSelected(item)) SelectOnly(item);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  bool doubleClick = item >= 0 && item == lastClickItem_ && lastClickTime_.isValid() &&
                     lastClickTime_.elapsed() <= QApplication::doubleClickInterval();
  if (doubleClick) {
    lastClickItem_ = -1;
    if (OnOpenProperties) OnOpenProperties();
    return;
  }
  lastClickTime_.start();
  lastClickItem_ = item;
  pressPoint_ = point;
  pressItem_ = item;
  keepSelectionPending_ = false;
  if (item < 0) {
    banding_ = true;
    bandStart_ = bandEnd_ = ToContent(point);
    viewport()->update();
    return;
  }
  PressItem(item, event->modifiers());
}

void TLocalGrid::PressItem(int item, Qt::KeyboardModifiers modifiers) {
  if (Ctrl(modifiers)) {
    lib_->Items().Icons(item)->Selected = !lib_->IsSelected(item);
    SelectionChanged();
  } else if (Shift(modifiers)) {
    if (anchor_ < 0 || anchor_ >= Count()) anchor_ = item;
    auto [low, high] = std::minmax(anchor_, item);
    for (int i = low; i <= high; ++i) lib_->Items().Icons(i)->Selected = true;
    SelectionChanged();
  } else if (lib_->IsSelected(item)) {
    keepSelectionPending_ = true;  // decided when the button is released
  } else {
    SelectOnly(item);
    anchor_ = item;
    return;
  }
  SetCurrent(item);
  anchor_ = item;
}

// The platform's double click is a second press here: the grid detects double clicks itself.
void TLocalGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

void TLocalGrid::mouseMoveEvent(QMouseEvent* event) {
  QPoint point = event->position().toPoint();
  if (banding_) {
    bandEnd_ = ToContent(point);
    viewport()->update();
    return;
  }
  bool held = event->buttons() & Qt::LeftButton;
  if (held && pressItem_ >= 0 &&
      (point - pressPoint_).manhattanLength() > QApplication::startDragDistance()) {
    pressItem_ = -1;
    keepSelectionPending_ = false;
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(kGridItemsMime, {});
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
  }
}

void TLocalGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !lib_) return;
  if (banding_) {
    banding_ = false;
    bandEnd_ = ToContent(event->position().toPoint());
    FinishBand(event->modifiers());
    viewport()->update();
  } else if (keepSelectionPending_) {
    int item = HitTest(event->position().toPoint());
    if (item >= 0) SelectOnly(item);
  }
  keepSelectionPending_ = false;
  pressItem_ = -1;
}

void TLocalGrid::FinishBand(Qt::KeyboardModifiers modifiers) {
  QRect band = QRect(bandStart_, bandEnd_).normalized();
  bool extend = Ctrl(modifiers) || Shift(modifiers);
  if (bandStart_ == bandEnd_ && !extend) {
    for (int i = 0; i < Count(); ++i) lib_->Items().Icons(i)->Selected = false;
    SelectionChanged();
    return;
  }
  if (!extend)
    for (int i = 0; i < Count(); ++i) lib_->Items().Icons(i)->Selected = false;
  int firstRow = std::max(0, band.top() / layout_.rowHeight);
  int lastRow = band.bottom() / layout_.rowHeight;
  int firstColumn = std::max(0, band.left() / layout_.columnWidth);
  int lastColumn = std::min(layout_.columns - 1, band.right() / layout_.columnWidth);
  int lastHit = -1;
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
      int item = ItemAt(column, row);
      if (item < 0 || item >= Count()) continue;
      QPoint origin = ContentCellRect(item).topLeft();
      QRect image(origin + QPoint(layout_.imageLeft, layout_.imageTop),
                  QSize(layout_.imageWidth, layout_.imageHeight));
      TTextRects texts = TextRects(item);
      bool touched = image.intersects(band) || texts.caption.translated(origin).intersects(band) ||
                     texts.format.translated(origin).intersects(band);
      if (!touched) continue;
      TAdvancedIcon* icon = lib_->Items().Icons(item);
      icon->Selected = Ctrl(modifiers) ? !icon->Selected : true;
      lastHit = item;
    }
  }
  SelectionChanged();
  int end = ItemAt(bandEnd_.x() / layout_.columnWidth, bandEnd_.y() / layout_.rowHeight);
  if (end >= Count()) end = Count() - 1;
  if (bandEnd_.x() < 0 || bandEnd_.y() < 0 || bandEnd_.x() >= layout_.columns * layout_.columnWidth)
    end = lastHit;
  if (end >= 0) SetCurrent(end);
}

// --- Drag and drop -------------------------------------------------------------------------

void TLocalGrid::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == this && event->mimeData()->hasFormat(kGridItemsMime))
    event->acceptProposedAction();
  else
    event->ignore();
}

void TLocalGrid::dragMoveEvent(QDragMoveEvent* event) {
  if (event->source() != this) return event->ignore();
  event->acceptProposedAction();
  int marker = ItemAtPoint(event->position().toPoint());
  if (marker != dropMarker_) {
    dropMarker_ = marker;
    viewport()->update();
  }
}

void TLocalGrid::dragLeaveEvent(QDragLeaveEvent*) {
  dropMarker_ = -1;
  viewport()->update();
}

void TLocalGrid::dropEvent(QDropEvent* event) {
  dropMarker_ = -1;
  if (event->source() != this) return event->ignore();
  event->acceptProposedAction();
  DropSelectionOn(ItemAtPoint(event->position().toPoint()));
}

// --- Keys and hints ------------------------------------------------------------------------

bool TLocalGrid::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  if (event->type() == QEvent::ToolTip && lib_) {
    auto* help = static_cast<QHelpEvent*>(event);
    int item = HitTest(viewport()->mapFrom(this, help->pos()));
    if (item >= 0)
      QToolTip::showText(help->globalPos(), QString::fromStdString(lib_->Items().Names(item)),
                         this);
    else
      QToolTip::hideText();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

int TLocalGrid::MoveTarget(int key) const {
  int columns = layout_.columns, last = Count() - 1, from = std::max(0, current_);
  int page = VisibleRows() * columns;
  switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Tab:
      return from + 1;
    case Qt::Key_Left:
    case Qt::Key_Backtab:
      return from - 1;
    case Qt::Key_Up:
      return from - columns;
    case Qt::Key_Down:
      return from + columns;
    case Qt::Key_Home:
      return 0;
    case Qt::Key_End:
      return last;
    case Qt::Key_PageUp:
      return from - page >= 0 ? from - page : from % columns;
    case Qt::Key_PageDown: {
      if (from + page <= last) return from + page;
      int lastRowStart = last / columns * columns;
      int sameColumn = lastRowStart + from % columns;
      return sameColumn <= last ? sameColumn : last;
    }
    default:
      return -2;  // not a movement key
  }
}

void TLocalGrid::keyPressEvent(QKeyEvent* event) {
  if (!lib_) return;
  bool shift = event->modifiers() & Qt::ShiftModifier;
  int key = event->key();
  if (key == Qt::Key_Shift) {
    if (!event->isAutoRepeat()) StartKeySelection();
    return;
  }
  if (!shift) keyAnchor_ = -1;
  // A Shift pressed while another window had the keyboard (the menu that ran a command) was
  // not seen here: the selection still starts at the current icon.
  if (shift && keyAnchor_ < 0) StartKeySelection();
  if (shift && keyCount_++ == 0 && (key == Qt::Key_Up || key == Qt::Key_Down)) blockMode_ = true;
  if (key == Qt::Key_Backtab) shift = false;  // Shift+Tab only moves back
  int target = MoveTarget(key);
  if (target == -2) {
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && OnOpenProperties) OnOpenProperties();
    return;
  }
  if (target < 0 || target >= Count() || target == current_) return;
  MoveByKey(target, shift);
}

void TLocalGrid::StartKeySelection() {
  keyAnchor_ = current_;
  keyCount_ = 0;
  blockMode_ = false;
}

void TLocalGrid::keyReleaseEvent(QKeyEvent* event) {
  // The next Shift starts a new selection from wherever the current icon is then.
  if (event->key() == Qt::Key_Shift && !event->isAutoRepeat()) keyAnchor_ = -1;
  QAbstractScrollArea::keyReleaseEvent(event);
}

void TLocalGrid::MoveByKey(int target, bool shift) {
  if (!shift || keyAnchor_ < 0)
    SelectOnly(target);
  else if (blockMode_)
    SelectBlock(keyAnchor_, target);
  else
    SelectRange(keyAnchor_, target);
}

}  // namespace varnel

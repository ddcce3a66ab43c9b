#include "app/icodrawgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "app/qtbitmap.h"
#include "collection/filepreview.h"

namespace varnel {

TIcoDrawGrid::TIcoDrawGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(kCellSize);
}

void TIcoDrawGrid::SetIcons(std::unique_ptr<TPreviewIcons> icons) {
  icons_ = std::move(icons);
  pictures_.clear();
  current_ = Count() ? 0 : -1;
  verticalScrollBar()->setValue(0);
  UpdateScrollBar();
  viewport()->update();
}

int TIcoDrawGrid::Columns() const {
  return std::max(1, viewport()->width() / kCellSize);
}

int TIcoDrawGrid::Rows() const {
  return (Count() + Columns() - 1) / Columns();
}

void TIcoDrawGrid::SetCurrent(int index) {
  if (index < 0 || index >= Count()) return;
  current_ = index;
  int top = (index / Columns()) * kCellSize;
  QScrollBar* bar = verticalScrollBar();
  if (top < bar->value()) bar->setValue(top);
  if (top + kCellSize > bar->value() + viewport()->height())
    bar->setValue(top + kCellSize - viewport()->height());
  viewport()->update();
}

void TIcoDrawGrid::SelectInitial(int index) {
  if (index >= 0 && index < Count())
    SetCurrent(index);
  else
    current_ = -1;
  viewport()->update();
}

void TIcoDrawGrid::SetDefaultDrawing(bool plain) {
  plainDrawing_ = plain;
  viewport()->update();
}

QImage TIcoDrawGrid::CellPicture(int index) {
  auto kept = pictures_.find(index);
  if (kept != pictures_.end()) return kept->second;
  const TAdvancedIcon* icon = icons_->Icon(index);
  if (!icon) return {};
  TColor base = FromQColor(palette().color(plainDrawing_ ? QPalette::Window : QPalette::Base));
  QImage picture = ToQImage(PreviewCellPicture(*icon, base), false);
  ++picturesMade_;
  if (Count() <= kMaxKeptPictures)
    pictures_[index] = picture;
  else
    icons_->Release(index);
  return picture;
}

void TIcoDrawGrid::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(),
                   palette().color(plainDrawing_ ? QPalette::Window : QPalette::Base));
  int columns = Columns();
  int offset = verticalScrollBar()->value();
  int firstRow = offset / kCellSize;
  int lastRow = (offset + viewport()->height()) / kCellSize;
  for (int row = firstRow; row <= lastRow; ++row)
    for (int column = 0; column < columns; ++column) {
      int index = row * columns + column;
      if (index >= Count()) return;
      QRect cell(column * kCellSize, row * kCellSize - offset, kCellSize, kCellSize);
      QImage picture = CellPicture(index);
      painter.drawImage(cell.x() + (kCellSize - picture.width()) / 2,
                        cell.y() + (kCellSize - picture.height()) / 2, picture);
      if (index != current_) continue;
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = cell.adjusted(0, 0, -1, -1);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TIcoDrawGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBar();
}

void TIcoDrawGrid::UpdateScrollBar() {
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, Rows() * kCellSize - viewport()->height()));
  bar->setPageStep(viewport()->height());
}

void TIcoDrawGrid::mousePressEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  int column = at.x() / kCellSize;
  int row = (at.y() + verticalScrollBar()->value()) / kCellSize;
  if (column < Columns()) SetCurrent(row * Columns() + column);
}

void TIcoDrawGrid::keyPressEvent(QKeyEvent* event) {
  int step = 0;
  switch (event->key()) {
    case Qt::Key_Left:
      step = -1;
      break;
    case Qt::Key_Right:
      step = 1;
      break;
    case Qt::Key_Up:
      step = -Columns();
      break;
    case Qt::Key_Down:
      step = Columns();
      break;
    default:
      return QAbstractScrollArea::keyPressEvent(event);
  }
  SetCurrent(std::clamp(current_ + step, 0, Count() - 1));
}

}  // namespace varnel

#include "app/localgrid.h"

#include <QScrollBar>
#include <algorithm>

#include "app/gridreorder.h"
#include "collection/fmlib.h"

namespace varnel {
namespace {

// Rendered image areas kept for repainting and scrolling back, by their size in KiB: at least
// this much, and at least what this many viewports full of cells hold, whatever the cell size.
constexpr int kMinImageCacheKb = 16 * 1024;
constexpr int kViewportsCached = 4;
// Rows added beyond the visible area while a search adds items.
constexpr int kGrowRows = 50;

}  // namespace

TLocalGrid::TLocalGrid(QWidget* parent) : QAbstractScrollArea(parent), cache_(kMinImageCacheKb) {
  setFocusPolicy(Qt::StrongFocus);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalScrollBar()->setSingleStep(1);
}

void TLocalGrid::Attach(TfmLib* lib) {
  lib_ = lib;
  Relayout();
}

int TLocalGrid::Count() const {
  return lib_ ? lib_->Count() : 0;
}

TSettings* TLocalGrid::Settings() const {
  return lib_ ? &lib_->Settings() : nullptr;
}

// --- Layout --------------------------------------------------------------------------------

void TLocalGrid::Relayout() {
  if (layoutFrozen_) return;
  TGridLayoutInput input;
  if (const TSettings* settings = Settings()) {
    input.sizeMode = settings->grIconSize;
    input.customWidth = settings->grIconSizeW;
    input.customHeight = settings->grIconSizeH;
    input.showCaptions = settings->grCaption;
    input.showFormats = settings->grFormats;
  }
  input.largeIconSize = largeIconSize_;
  input.smallIconSize = smallIconSize_;
  QFontMetrics metrics(font());
  input.letterWidth = metrics.horizontalAdvance(QStringLiteral("S"));
  input.textHeight = metrics.height();
  input.controlWidth = width();
  input.scrollBarWidth = verticalScrollBar()->sizeHint().width();
  input.itemCount = Count();
  layout_ = ComputeGridLayout(input);
  rows_ = layout_.rows;
  lastClickItem_ = -1;
  selectedCount_ = -1;
  soleSelected_ = {};
  cache_.clear();
  cache_.setMaxCost(ImageCacheBudgetKb());
  if (current_ >= Count()) current_ = Count() - 1;
  UpdateScrollBar();
  viewport()->update();
  NotifyChanged();
}

int TLocalGrid::ImageAreaKb() const {
  int64_t bytes = int64_t(layout_.imageWidth) * layout_.imageHeight * 4;  // RGB32
  return int(std::max<int64_t>(1, (bytes + 1023) / 1024));
}

int TLocalGrid::ImageCacheBudgetKb() const {
  int64_t shown = int64_t(VisibleRows() + 1) * std::max(1, layout_.columns);
  int64_t viewports = kViewportsCached * shown * ImageAreaKb();
  return int(std::clamp<int64_t>(viewports, kMinImageCacheKb, INT32_MAX));
}

void TLocalGrid::UpdateScrollBar() {
  int visible = VisibleRows();
  QScrollBar* bar = verticalScrollBar();
  bar->setPageStep(std::max(1, visible));
  bar->setRange(0, std::max(0, rows_ - visible));
}

void TLocalGrid::SetLayoutLocked(bool locked) {
  layoutFrozen_ = locked;
  if (!locked) Relayout();
}

void TLocalGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void TLocalGrid::scrollContentsBy(int, int) {
  viewport()->update();
}

int TLocalGrid::TopRow() const {
  return verticalScrollBar()->value();
}

int TLocalGrid::VisibleRows() const {
  return std::max(1, viewport()->height() / std::max(1, layout_.rowHeight));
}

int TLocalGrid::ItemAt(int column, int row) const {
  if (column < 0 || column >= layout_.columns || row < 0) return -1;
  return row * layout_.columns + column;
}

QRect TLocalGrid::ContentCellRect(int index) const {
  int row = index / layout_.columns, column = index % layout_.columns;
  return QRect(column * layout_.columnWidth, row * layout_.rowHeight, layout_.columnWidth,
               layout_.rowHeight);
}

QRect TLocalGrid::CellRect(int index) const {
  return ContentCellRect(index).translated(0, -TopRow() * layout_.rowHeight);
}

QPoint TLocalGrid::ToContent(QPoint point) const {
  return point + QPoint(0, TopRow() * layout_.rowHeight);
}

int TLocalGrid::ItemAtPoint(QPoint point) const {
  QPoint content = ToContent(point);
  if (content.x() < 0 || content.y() < 0) return -1;
  int item = ItemAt(content.x() / layout_.columnWidth, content.y() / layout_.rowHeight);
  return item >= 0 && item < Count() ? item : -1;
}

int TLocalGrid::HitTest(QPoint point) const {
  int item = ItemAtPoint(point);
  if (item < 0) return -1;
  QPoint inCell = ToContent(point) - ContentCellRect(item).topLeft();
  QRect image(layout_.imageLeft, layout_.imageTop, layout_.imageWidth, layout_.imageHeight);
  if (image.contains(inCell)) return item;
  TTextRects texts = TextRects(item);
  if (texts.caption.contains(inCell) || texts.format.contains(inCell)) return item;
  return -1;
}

void TLocalGrid::ScrollToItem(int index) {
  if (index < 0 || layout_.columns <= 0) return;
  int row = index / layout_.columns, top = TopRow(), visible = VisibleRows();
  if (row < top)
    verticalScrollBar()->setValue(row);
  else if (row >= top + visible)
    verticalScrollBar()->setValue(row - visible + 1);
}

void TLocalGrid::GrowGrid(int shown) {
  soleSelected_ = {};
  int needed = (Count() + layout_.columns - 1) / layout_.columns;
  if (needed >= rows_) {
    bool fits = needed * layout_.rowHeight + 4 < viewport()->height();
    rows_ = fits ? needed : needed + kGrowRows;
    UpdateScrollBar();
  }
  if (Count() > shown) {
    int previous = current_;
    current_ = Count() - 1;
    ScrollToItem(current_);
    NotifyCurrentChanged(previous);
  }
  viewport()->update();
  NotifyChanged();
}

// --- View settings -------------------------------------------------------------------------

int TLocalGrid::SizeMode() const {
  return Settings() ? Settings()->grIconSize : 48;
}

void TLocalGrid::ViewSettingChanged(bool relayout) {
  cache_.clear();
  captionCache_.clear();
  if (relayout)
    Relayout();
  else
    viewport()->update();
}

void TLocalGrid::SetSizeMode(int mode) {
  if (!Settings()) return;
  Settings()->grIconSize = mode;
  ViewSettingChanged(true);
}

void TLocalGrid::SetCustomSize(int width, int height) {
  if (!Settings()) return;
  Settings()->grIconSize = kSizeModeCustom;
  Settings()->grIconSizeW = std::max(1, width);
  Settings()->grIconSizeH = std::max(1, height);
  ViewSettingChanged(true);
}

void TLocalGrid::SetDepthFilter(int bpp) {
  if (!Settings()) return;
  Settings()->grIconBPP = bpp;
  ViewSettingChanged(false);
}

void TLocalGrid::SetExactFormats(bool on) {
  if (!Settings()) return;
  Settings()->grExactView = on;
  ViewSettingChanged(false);
}

void TLocalGrid::SetKeepProportions(bool on) {
  if (!Settings()) return;
  Settings()->grPropView = on;
  ViewSettingChanged(false);
}

void TLocalGrid::SetEnlargeSmall(bool on) {
  if (!Settings()) return;
  Settings()->grEnlarge = on;
  ViewSettingChanged(false);
}

void TLocalGrid::SetShowCaptions(bool on) {
  if (!Settings()) return;
  Settings()->grCaption = on;
  ViewSettingChanged(true);
}

void TLocalGrid::SetShowFormats(bool on) {
  if (!Settings()) return;
  Settings()->grFormats = on;
  ViewSettingChanged(true);
}

void TLocalGrid::ResetViewSettings() {
  TSettings defaults;
  SetSizeMode(48);
  SetDepthFilter(32);
  SetShowCaptions(true);
  SetShowFormats(true);
  SetExactFormats(false);
  SetEnlargeSmall(defaults.grEnlarge);
  SetKeepProportions(defaults.grPropView);
}

void TLocalGrid::SetSystemIconSizes(int large, int small) {
  largeIconSize_ = std::max(1, large);
  smallIconSize_ = std::max(1, small);
  if (SizeMode() == kSizeModeSystem) ViewSettingChanged(true);
}

// --- Cursor and selection ------------------------------------------------------------------

void TLocalGrid::SetCurrent(int index) {
  int previous = current_;
  current_ = index >= 0 && index < Count() ? index : -1;
  ScrollToItem(current_);
  viewport()->update();
  NotifyCurrentChanged(previous);
  NotifyChanged();
}

void TLocalGrid::NotifyCurrentChanged(int previous) {
  if (previous == current_ || !lib_) return;
  if (lib_->OnImagePanelChanged) lib_->OnImagePanelChanged();
}

void TLocalGrid::NotifyChanged() {
  if (OnChanged) OnChanged();
}

void TLocalGrid::Repaint() {
  selectedCount_ = -1;
  soleSelected_ = {};
  viewport()->update();
  NotifyChanged();
}

void TLocalGrid::SelectionChanged() {
  selectedCount_ = -1;
  soleSelected_ = {};
  viewport()->update();
  NotifyChanged();
}

int TLocalGrid::SelectedCount() {
  if (selectedCount_ < 0) selectedCount_ = lib_ ? lib_->SelectedCount() : 0;
  return selectedCount_;
}

void TLocalGrid::SelectOnly(int index) {
  if (!lib_ || index < 0 || index >= Count()) return;
  TAdvancedIcon* icon = lib_->Items().Icons(index);
  if (TAdvancedIcon* sole = SoleSelected()) {
    // Only the icon selected before and the new one change: no pass over every item.
    sole->Selected = false;
    icon->Selected = true;
    SetCurrent(index);
    SelectionChanged();
  } else {
    lib_->SelectOnly(index);
  }
  soleSelected_ = {index, icon};
  selectedCount_ = 1;
  lib_->UI().SetStatusText(0, ItemStatusText(index));
}

TAdvancedIcon* TLocalGrid::SoleSelected() const {
  auto [index, icon] = soleSelected_;
  if (!icon || index >= Count() || lib_->Items().Icons(index) != icon) return nullptr;
  return icon;
}

std::string TLocalGrid::ItemStatusText(int index) const {
  if (!lib_ || index < 0 || index >= Count()) return {};
  std::string source = lib_->SourceOf(index), name = lib_->Items().Names(index);
  return source.empty() ? name : source + " - " + name;
}

void TLocalGrid::SelectRange(int from, int to) {
  if (!lib_ || from < 0 || to < 0 || from >= Count() || to >= Count()) return;
  auto [low, high] = std::minmax(from, to);
  for (int i = 0; i < Count(); ++i) lib_->Items().Icons(i)->Selected = i >= low && i <= high;
  SelectionChanged();
  SetCurrent(to);
}

void TLocalGrid::SelectBlock(int from, int to) {
  if (!lib_ || from < 0 || to < 0 || from >= Count() || to >= Count()) return;
  int columns = layout_.columns;
  int fromRow = from / columns, toRow = to / columns;
  int fromColumn = from % columns, toColumn = to % columns;
  int top = std::min(fromRow, toRow), bottom = std::max(fromRow, toRow);
  int left = std::min(fromColumn, toColumn), right = std::max(fromColumn, toColumn);
  for (int i = 0; i < Count(); ++i) {
    int row = i / columns, column = i % columns;
    lib_->Items().Icons(i)->Selected =
        row >= top && row <= bottom && column >= left && column <= right;
  }
  SelectionChanged();
  SetCurrent(to);
}

void TLocalGrid::MoveCursorTo(int index) {
  SetCurrent(index);
}

void TLocalGrid::DropSelectionOn(int target) {
  if (!lib_) return;
  int last = MoveSelectedItems(*lib_, target);
  if (last < 0) return;
  cache_.clear();
  SetCurrent(last);
  if (OnMoved) OnMoved();
  Repaint();
}

}  // namespace varnel

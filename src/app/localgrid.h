#pragma once
// TLocalGrid: the collection shown as a grid of equal cells, one icon per cell in collection
// order. It owns the selection gestures (click, Ctrl-click, Shift-click, rubber band, keys),
// reorders items by drag and drop, grows while searches add items, and keeps the view
// settings. Only visible cells are painted; their rendered image areas are cached.

#include <QAbstractScrollArea>
#include <QCache>
#include <QElapsedTimer>
#include <QImage>
#include <cstdint>
#include <functional>
#include <string>

#include "app/filepages.h"
#include "app/gridlayout.h"
#include "collection/gridview.h"

namespace varnel {

class TAdvancedIcon;
class TfmLib;
struct TSettings;

class TLocalGrid : public QAbstractScrollArea, public TGridView {
  Q_OBJECT

 public:
  explicit TLocalGrid(QWidget* parent = nullptr);

  // The collection shown; its settings hold the view settings.
  void Attach(TfmLib* lib);
  TfmLib* Lib() const { return lib_; }

  // The view as the collection sees it.
  int Current() const override { return current_; }
  void SetCurrent(int index) override;
  void Relayout() override;
  void Repaint() override;
  void SetEnabled(bool enabled) override { setEnabled(enabled); }
  void Focus() override { setFocus(); }
  void SetLayoutLocked(bool locked) override;
  void SelectionChanged() override;

  // View settings; each is stored in the settings.
  int SizeMode() const;
  void SetSizeMode(int mode);
  void SetCustomSize(int width, int height);
  void SetDepthFilter(int bpp);
  void SetExactFormats(bool on);
  void SetKeepProportions(bool on);
  void SetEnlargeSmall(bool on);
  void SetShowCaptions(bool on);
  void SetShowFormats(bool on);
  void ResetViewSettings();
  // The large and small icon sizes of the system's sizes mode.
  void SetSystemIconSizes(int large, int small);

  // Selection.
  void SelectOnly(int index);
  void SelectRange(int from, int to);
  void SelectBlock(int from, int to);
  void MoveCursorTo(int index);
  int SelectedCount();
  std::optional<int> KeptSelectedCount() override { return SelectedCount(); }

  // Geometry, in viewport coordinates.
  const TGridLayout& GridLayout() const { return layout_; }
  int ItemAt(int column, int row) const;
  int HitTest(QPoint point) const;
  QRect CellRect(int index) const;
  int TopRow() const;
  int VisibleRows() const;
  void ScrollToItem(int index);
  // Keeps enough rows for the items added since shown (in steps of 50 beyond the visible
  // area) without laying the cells out again, and follows the newest item.
  void GrowGrid(int shown) override;

  // The drop of the selection on an item (what a drop from the grid itself does).
  void DropSelectionOn(int target);

  // Counters for measuring: image areas rendered (cache misses) and cells painted.
  int64_t RenderedImages() const { return renderedImages_; }
  int64_t PaintedCells() const { return paintedCells_; }
  int CachedImages() const { return cache_.size(); }
  int64_t CachedImageKb() const { return cache_.totalCost(); }

  // Status panel 0's text for an item: its source, " - " and its name (the name alone without
  // a source); empty for no item.
  std::string ItemStatusText(int index) const;

  std::function<void()> OnMoved;
  std::function<void()> OnOpenProperties;
  // Called after every change of what the grid shows: the items, the cursor or the selection.
  std::function<void()> OnChanged;
  // Called for the pop-up menu at a point of the screen, after a right click has selected.
  std::function<void(QPoint)> OnContextMenu;

 protected:
  bool event(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  struct TTextRects {
    QRect caption;  // in cell coordinates; empty when not shown
    QRect format;
    QRect area;  // the union of the two
  };

  int Count() const;
  TSettings* Settings() const;
  void UpdateScrollBar();
  // The size of a rendered image area, and what the cache of them may hold (both in KiB): the
  // budget always holds several image areas, so that the one just rendered stays cached.
  int ImageAreaKb() const;
  int ImageCacheBudgetKb() const;
  void ViewSettingChanged(bool relayout);
  void NotifyCurrentChanged(int previous);
  void NotifyChanged();
  int ItemAtPoint(QPoint point) const;  // the cell under the point, -1 past the items
  QPoint ToContent(QPoint point) const;
  QRect ContentCellRect(int index) const;
  TTextRects TextRects(int index) const;
  QString FormatText(int index) const;
  QStringList CaptionLines(int index, int width) const;

  QRect ImageRectIn(const QRect& cell) const;  // the image area of a cell
  void PaintCellOrPlaceholder(QPainter& painter, int index, const QRect& cell);
  void PaintCell(QPainter& painter, int index, const QRect& cell);
  void PaintTexts(QPainter& painter, int index, const QRect& cell, bool selected);
  const QImage& ImageArea(int index);
  QImage RenderImageArea(int index) const;
  QImage RenderSystemSizes(int index) const;

  void PressItem(int item, Qt::KeyboardModifiers modifiers);
  void FinishBand(Qt::KeyboardModifiers modifiers);
  int MoveTarget(int key) const;
  void MoveByKey(int target, bool shift);
  // The icon of soleSelected_ while it is still the one at its index; null otherwise.
  TAdvancedIcon* SoleSelected() const;
  // A Shift+key selection begins at the current icon.
  void StartKeySelection();

  TfmLib* lib_ = nullptr;
  TGridLayout layout_;
  int current_ = -1;
  int rows_ = 0;
  bool layoutFrozen_ = false;
  int largeIconSize_ = 32;
  int smallIconSize_ = 16;
  int selectedCount_ = -1;
  // The icon that SelectOnly left as the only one selected, with its index, until the items or
  // the selection change otherwise.
  struct SoleSelection {
    int index = -1;
    TAdvancedIcon* icon = nullptr;
  };
  SoleSelection soleSelected_;

  int anchor_ = -1;
  int keyAnchor_ = -1;
  int keyCount_ = 0;
  bool blockMode_ = false;
  int lastClickItem_ = -1;
  QElapsedTimer lastClickTime_;
  int pressItem_ = -1;
  QPoint pressPoint_;
  bool keepSelectionPending_ = false;
  bool banding_ = false;
  QPoint bandStart_, bandEnd_;  // content coordinates
  int dropMarker_ = -1;

  QCache<const void*, QImage> cache_;
  // The wrapped caption lines by name and width (see CaptionLines); emptied with the font.
  static constexpr int kCaptionCacheSize = 4096;
  mutable QCache<QString, QStringList> captionCache_{kCaptionCacheSize};
  // The mapped bytes that the image areas rendered during a paint were read from.
  ByteRanges readThisPaint_;
  int64_t renderedImages_ = 0;
  int64_t paintedCells_ = 0;
};

}  // namespace varnel

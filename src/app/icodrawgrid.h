#pragma once
// TIcoDrawGrid: the preview panel's grid of the icons of a module or collection, 32 by 32
// pixel cells, as many columns as fit. A cell's icon is asked for, and its picture made, when
// the cell is first drawn.

#include <QAbstractScrollArea>
#include <QImage>
#include <map>
#include <memory>

#include "collection/previewicons.h"

namespace varnel {

class TIcoDrawGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kCellSize = 32;
  // With more icons than this, a cell's icon and picture are let go after drawing.
  static constexpr int kMaxKeptPictures = 2000;

  explicit TIcoDrawGrid(QWidget* parent = nullptr);

  void SetIcons(std::unique_ptr<TPreviewIcons> icons);
  void Clear() { SetIcons(nullptr); }
  int Count() const { return icons_ ? icons_->Count() : 0; }
  TPreviewIcons* Icons() const { return icons_.get(); }
  int Columns() const;
  int Rows() const;
  // The current cell as row * columns + column (-1 when none).
  int Current() const { return current_; }
  // Makes index current when it is an icon's cell; scrolls to it.
  void SetCurrent(int index);
  // The picker's starting cell: index when it is an icon's cell, else no cell (-1).
  void SelectInitial(int index);
  // Plain drawing: no cell background of its own.
  void SetDefaultDrawing(bool plain);
  // Pictures made so far (for measuring the lazy filling).
  int PicturesMade() const { return picturesMade_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QImage CellPicture(int index);
  void UpdateScrollBar();

  std::unique_ptr<TPreviewIcons> icons_;
  std::map<int, QImage> pictures_;
  int current_ = -1;
  int picturesMade_ = 0;
  bool plainDrawing_ = false;
};

}  // namespace varnel

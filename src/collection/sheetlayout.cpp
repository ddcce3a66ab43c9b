#include "collection/sheetlayout.h"

#include <algorithm>
#include <cmath>

#include "appcore/exportsinglesettings.h"

namespace varnel {

TSheetLayout TSheetLayout::Of(const TExportSingleSettings& s, int count) {
  TSheetLayout layout;
  int columnsWanted = std::max(s.CC, 1);
  layout.columns = std::min(count, columnsWanted);
  layout.rowsNeeded = (count + columnsWanted - 1) / columnsWanted;
  layout.rows = std::min(layout.rowsNeeded, std::max(s.CR, 1));
  layout.width = s.ML + s.MR + (layout.columns - 1) * s.GH + layout.columns * s.CW;
  layout.height = s.MT + s.MB + (layout.rows - 1) * s.GV + layout.rows * s.CH;
  layout.perSheet = layout.columns * layout.rows;
  layout.left = s.ML;
  layout.top = s.MT;
  layout.cellWidth = s.CW;
  layout.cellHeight = s.CH;
  layout.gapX = s.GH;
  layout.gapY = s.GV;
  return layout;
}

TCellRect TSheetLayout::Cell(int k) const {
  int column = k % columns;
  int row = k / columns;
  int x = left + column * (cellWidth + gapX);
  int y = top + row * (cellHeight + gapY);
  return {x, y, x + cellWidth, y + cellHeight};
}

TCellRect PlaceInCell(const TCellRect& cell, int width, int height, bool stretch) {
  if (width <= 0 || height <= 0) return {cell.left, cell.top, cell.left, cell.top};
  if (!stretch && width <= cell.Width() && height <= cell.Height()) {
    int x = (cell.left + cell.right - width) / 2;
    int y = (cell.top + cell.bottom - height) / 2;
    return {x, y, x + width, y + height};
  }
  double imageRatio = double(width) / height;
  double cellRatio = double(cell.Width()) / cell.Height();
  double w = cellRatio >= imageRatio ? cell.Height() * imageRatio : cell.Width();
  double h = cellRatio >= imageRatio ? cell.Height() : cell.Width() / imageRatio;
  double x = cell.left + (cell.Width() - w) / 2;
  double y = cell.top + (cell.Height() - h) / 2;
  TCellRect placed{int(std::lround(x)), int(std::lround(y)), int(std::lround(x + w)),
                   int(std::lround(y + h))};
  placed.left = std::max(placed.left, cell.left);
  placed.top = std::max(placed.top, cell.top);
  placed.right = std::min(placed.right, cell.right);
  placed.bottom = std::min(placed.bottom, cell.bottom);
  return placed;
}

}  // namespace varnel

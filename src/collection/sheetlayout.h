#pragma once
// The arithmetic of sheets: how many columns and rows a sheet of icons has, its size, where
// each cell lies, and where an image is put inside its cell.

#include <string>

namespace varnel {

struct TExportSingleSettings;

struct TCellRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TCellRect&, const TCellRect&) = default;
};

struct TSheetLayout {
  int columns = 0;     // c = min(n, C)
  int rowsNeeded = 0;  // r' = ceiling(n / C)
  int rows = 0;        // r = min(r', R)
  int width = 0;
  int height = 0;
  int perSheet = 0;  // c * r
  int left = 0, top = 0, cellWidth = 0, cellHeight = 0, gapX = 0, gapY = 0;

  // The layout of count icons (at least one) under the settings.
  static TSheetLayout Of(const TExportSingleSettings& settings, int count);
  bool MultipleSheets() const { return rows < rowsNeeded; }
  // The cell of item k of a sheet (k from 0).
  TCellRect Cell(int k) const;
};

// Where an image of width x height goes in cell: centred at its own size when it fits and
// stretch is off, else scaled with its proportions to the cell, centred and clipped to it.
TCellRect PlaceInCell(const TCellRect& cell, int width, int height, bool stretch);

}  // namespace varnel

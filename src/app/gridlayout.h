#pragma once
// The geometry of the icon grid: image area, cell size, column and row counts, derived from the
// view settings, the font's text sizes and the control's width.

namespace varnel {

inline constexpr int kGridMargin = 2;
inline constexpr int kGridMinColumns = 2;
// Lines of a name under its image.
inline constexpr int kCaptionLines = 2;

// Size modes of the grid.
inline constexpr int kSizeModeCustom = -1;
inline constexpr int kSizeModeSystem = -2;

struct TGridLayoutInput {
  int sizeMode = 48;
  int customWidth = 64;
  int customHeight = 64;
  int largeIconSize = 32;  // the system's sizes mode: large and small images side by side
  int smallIconSize = 16;
  bool showCaptions = true;
  bool showFormats = false;
  int letterWidth = 7;  // width of "S" in the grid's font
  int textHeight = 14;  // height of "Gg"
  int controlWidth = 0;
  int scrollBarWidth = 0;
  int itemCount = 0;
};

struct TGridLayout {
  int imageWidth = 32;
  int imageHeight = 32;
  int imageLeft = 0;  // the image area inside a cell
  int imageTop = kGridMargin;
  int columnWidth = 36;
  int rowHeight = 36;
  int captionHeight = 0;
  int formatHeight = 0;
  int columns = kGridMinColumns;
  int rows = 0;
};

TGridLayout ComputeGridLayout(const TGridLayoutInput& input);

}  // namespace varnel

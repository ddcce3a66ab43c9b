#pragma once
// What a grid cell shows of an icon: the image chosen for the cell's size and depth, and that
// image rendered into the cell's image area.

#include <QImage>
#include <QSize>

#include "graphics/color.h"

namespace varnel {

class TAdvancedIcon;
class TSubIcon;

struct TCellImageOptions {
  QSize area;  // the image area of the cell
  int depthFilter = 32;
  bool exactFormats = false;
  bool keepProportions = true;
  bool enlargeSmall = false;
  TColor background = 0xFFFFFF;
};

// The image of icon that a cell of the given area shows; null when none fits.
const TSubIcon* ChooseCellImage(const TAdvancedIcon& icon, QSize area, int depthFilter,
                                bool exactFormats);

// The image drawn into the area on the background: a larger image, or any image while
// proportions are kept, is fitted (shrunk with the display filter, or enlarged by a whole
// factor with enlargeSmall); a smaller one without proportions is stretched to the area.
QImage RenderCellImage(const TSubIcon& image, const TCellImageOptions& options);

// What a cell shows of icon: the chosen image rendered into the area, or the area filled with
// placeholder when no image fits or the chosen one cannot be drawn (damaged image data).
// Never throws, so that painting goes on.
QImage RenderCellOrPlaceholder(const TAdvancedIcon& icon, const TCellImageOptions& options,
                               TColor placeholder);
// The image rendered, or the area filled with placeholder when it cannot be drawn.
QImage RenderImageOrPlaceholder(const TSubIcon& image, const TCellImageOptions& options,
                                TColor placeholder);

}  // namespace varnel

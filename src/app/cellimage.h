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

// The image composed on the background and fitted into the area: larger images shrink (keeping
// proportions when asked, else stretched to the area), smaller ones stay at their size (or grow
// by a whole factor with enlargeSmall) unless proportions are off, when they are stretched too.
// The result has the area's size; the image sits at its top left, centred when fitted.
QImage RenderCellImage(const TSubIcon& image, const TCellImageOptions& options);

}  // namespace varnel

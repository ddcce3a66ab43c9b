#include "app/gridlayout.h"

#include <algorithm>

namespace varnel {
namespace {

void SetImageArea(const TGridLayoutInput& input, TGridLayout& layout) {
  if (input.sizeMode == kSizeModeCustom) {
    layout.imageWidth = input.customWidth;
    layout.imageHeight = input.customHeight;
  } else if (input.sizeMode == kSizeModeSystem) {
    layout.imageWidth = input.largeIconSize + input.smallIconSize + kGridMargin;
    layout.imageHeight = std::max(input.largeIconSize, input.smallIconSize);
  } else {
    layout.imageWidth = layout.imageHeight = input.sizeMode;
  }
  layout.imageWidth = std::max(1, layout.imageWidth);
  layout.imageHeight = std::max(1, layout.imageHeight);
}

}  // namespace

TGridLayout ComputeGridLayout(const TGridLayoutInput& input) {
  TGridLayout layout;
  SetImageArea(input, layout);
  bool withText = input.showCaptions || input.showFormats;
  layout.columnWidth = layout.imageWidth + 2 * kGridMargin;
  if (withText) layout.columnWidth = std::max(layout.columnWidth, 12 * input.letterWidth);
  layout.captionHeight = input.showCaptions ? kCaptionLines * input.textHeight : 0;
  layout.formatHeight = input.showFormats ? input.textHeight : 0;
  layout.rowHeight = layout.imageHeight + 2 * kGridMargin + layout.captionHeight +
                     layout.formatHeight + (withText ? kGridMargin : 0);
  layout.imageLeft = (layout.columnWidth - layout.imageWidth) / 2;
  layout.imageTop = kGridMargin;
  int usable = input.controlWidth - input.scrollBarWidth - 4;
  layout.columns = std::max(kGridMinColumns, usable / layout.columnWidth);
  layout.rows = (input.itemCount + layout.columns - 1) / layout.columns;
  return layout;
}

}  // namespace varnel

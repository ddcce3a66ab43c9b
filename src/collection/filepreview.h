#pragma once
// What the open and save dialogs' preview panel shows of a file: the icons of a module or
// collection for its grid, or the picture of an icon or image, with a one-line description.
// Built without any window, so that it can be made on a worker thread.

#include <memory>
#include <string>
#include <vector>

#include "collection/previewicons.h"
#include "graphics/bitmap.h"
#include "icons/advancedicon.h"

namespace varnel {

enum class TPreviewKind { None, Picture, Grid };

struct TFilePreview {
  TPreviewKind kind = TPreviewKind::None;
  std::string label = "Picture";
  TBitmap picture;                      // Picture: 24-bit on the panel colour
  std::unique_ptr<TAdvancedIcon> icon;  // Picture of an icon file: the icon
  std::unique_ptr<TPreviewIcons> grid;  // Grid: one icon per cell
  bool animated = false;  // animated cursors and GIF pictures are not resampled when shown
};

struct TPreviewOptions {
  int largeIconSize = 32;  // the size whose best image stands for an icon file
  int screenDepth = 32;
  TColor panelColor = clWhite;
};

// The preview of a file; a file that is missing, 4 bytes or shorter, unreadable or holds
// nothing to show gives kind None and the label "Picture". Never raises.
TFilePreview BuildFilePreview(const std::string& path, const TPreviewOptions& options);

// "BMP 23x42x24bit", "PNG 16x16", "JPEG 100x50": the description of a picture of a kind.
std::string PictureDescription(const std::string& typeWord, const TBitmap& picture, bool withDepth);

// A picture fitted into an area: unchanged when it fits inside the area less a 2-pixel margin,
// else scaled down with its proportions kept (Mitchell unless plain is set). 4-bit pictures
// are shown as 24-bit.
TBitmap FitPreviewPicture(const TBitmap& picture, int areaWidth, int areaHeight, bool plain);

// The image drawn in a grid cell: the icon's best 32 x 32, 32-bit image on the colour, fitted.
TBitmap PreviewCellPicture(const TAdvancedIcon& icon, TColor background);

// The "Preview" window's picture of an icon: every image on the colour with 2 pixels between
// them, side by side (centred vertically) when the widest is narrower than twice the tallest,
// else stacked (centred horizontally).
TBitmap IconImagesStrip(const TAdvancedIcon& icon, TColor background);

}  // namespace varnel

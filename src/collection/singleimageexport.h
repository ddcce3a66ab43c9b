#pragma once
// "Single Image...": the selected icons (or all) as sheets, after the settings dialog and the
// sheet save dialog.

#include <functional>
#include <optional>

#include "appcore/exportsinglesettings.h"

namespace varnel {

class CollectionTarget;

inline constexpr const char* kSheetSaveFilter =
    "Bitmaps (*.bmp)|*.bmp|JPEG Images (*.jpg)|*.jpg|GIF Images (*.gif)|*.gif|PNG Images "
    "(*.png)|*.png";

// What the settings dialog shows and gives back.
struct TExportSingleChoice {
  TExportSingleSettings settings;
  int itemBpp = 24;  // 1, 4, 24 or 32
};
// The settings dialog: the choice confirmed, nothing when cancelled.
using TAskExportSingle =
    std::function<std::optional<TExportSingleChoice>(const TExportSingleChoice& initial)>;

// The dialog's start from the stored settings and the grid: a plain size mode (16, 32, 48)
// becomes the cell size, the depth filter the item colour format.
TExportSingleChoice ExportSinglePresets(const TExportSingleSettings& stored, int gridSizeMode,
                                        int gridDepth);

// Asks, then writes the sheets; stored takes the confirmed settings and the sheet folder. True
// when sheets were written. Cancelling the save dialog shows the settings dialog again.
bool ExportSingleImage(CollectionTarget& target, TExportSingleSettings& stored, int gridSizeMode,
                       int gridDepth, const TAskExportSingle& ask);

}  // namespace varnel

#pragma once
// Icons laid out in a grid as one or more sheet pictures, saved as BMP, JPEG, GIF or PNG files
// named B.E, or B01.E, B02.E, ... when more than one sheet is needed.

#include <string>
#include <vector>

#include "appcore/exportsinglesettings.h"

namespace varnel {

class TAdvancedIcon;

struct TSheetJob {
  TExportSingleSettings settings;
  int itemBpp = 24;       // the item colour format: 1, 4, 24 or 32
  std::string fileName;   // the chosen name; its extension is replaced by extension
  std::string extension;  // "bmp", "jpg", "gif" or "png"
  std::vector<const TAdvancedIcon*> icons;
};

struct TSheetResult {
  int sheets = 0;
  std::string lastFile;
};

// Builds and saves every sheet; an existing file is first copied to B.bak.
TSheetResult WriteSheets(const TSheetJob& job);

// "%d images saved. Last image: %s" when more than one sheet was written, else "".
std::string SheetClosingMessage(const TSheetResult& result);

}  // namespace varnel

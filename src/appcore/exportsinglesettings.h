#pragma once
// The stored settings of the single-image export dialog (section "ExportSingle").

#include <string>

#include "graphics/color.h"

namespace varnel {

class TIniFile;

struct TExportSingleSettings {
  int ML = 0, MR = 0, MT = 0, MB = 0;  // margins, 0 to 100
  int GH = 0, GV = 0;                  // gaps between cells, 0 to 50
  int CW = 32, CH = 32;                // cell size, 1 to 256
  int CC = 20, CR = 15;                // columns and rows per sheet, 1 to 300
  bool StretchToFit = false;
  bool Backup = true;
  TColor bkColor = clWhite;
  std::string Dir;  // the folder of the last saved sheet, with a trailing separator

  // Values outside their ranges are read as their defaults.
  static TExportSingleSettings Read(const TIniFile& ini);
  void Write(TIniFile& ini) const;
};

}  // namespace varnel

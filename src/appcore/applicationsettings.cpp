#include "appcore/applicationsettings.h"

#include "appcore/windowplacement.h"

namespace varnel {

TApplicationSettings::TApplicationSettings(std::string fileName, int screenBitsPerPixel)
    : ini_(std::move(fileName)), showMMIDefault_(DefaultShowMMI(screenBitsPerPixel)) {
  values_.ShowMMI = showMMIDefault_;
}

void TApplicationSettings::LoadSettings(TMainWindowFrame* window) {
  ini_ = TIniFile(ini_.FileName());
  values_ = ReadSettings(ini_, showMMIDefault_);
  recentFiles_.LoadList(ini_);
  if (window) RestoreWindowPlacement(values_, *window);
}

void TApplicationSettings::SaveSettings(const TMainWindowFrame* window) {
  if (window) StoreWindowPlacement(values_, *window);
  WriteSettings(ini_, values_);
  WriteWindowPlacement(ini_, values_);
  recentFiles_.SaveList(ini_);
  ini_.UpdateFile();
}

void TApplicationSettings::SaveCrawlPosition(int position) {
  values_.idxNextDownload = position;
  ini_.WriteInteger("Stat", "idxNextDownload", position);
  try {
    ini_.UpdateFile();
  } catch (const EIniFileError&) {
  }
}

}  // namespace varnel

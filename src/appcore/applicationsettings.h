#pragma once
// The settings of the run: the file they live in, the values held in memory, and the
// recent-files list, loaded once at start-up and saved at exit and after the options dialog.

#include <string>

#include "appcore/reopenfileholder.h"
#include "appcore/settings.h"
#include "platform/inifile.h"

namespace varnel {

class TMainWindowFrame;

class TApplicationSettings {
 public:
  // fileName: normally SettingsFileName(). screenBitsPerPixel decides the default of "ShowMMI".
  TApplicationSettings(std::string fileName, int screenBitsPerPixel);

  const std::string& FileName() const { return ini_.FileName(); }
  TSettings& Values() { return values_; }
  const TSettings& Values() const { return values_; }
  TReopenFileHolder& RecentFiles() { return recentFiles_; }
  // The file itself, for the dialogs that keep their own sections.
  TIniFile& File() { return ini_; }
  bool ShowMMIDefault() const { return showMMIDefault_; }

  // Reads the file afresh, takes every value into memory with its corrections, fills the
  // recent-files list and restores the main window's placement (when a window is given).
  void LoadSettings(TMainWindowFrame* window);
  // Writes every value back, with the window's placement (when a window is given) and the
  // recent-files list; raises EIniFileError "Unable to write to %s" when the file cannot be
  // written, leaving the file as it was.
  void SaveSettings(const TMainWindowFrame* window);
  // Writes the Internet crawl position at once; a failure to write is ignored.
  void SaveCrawlPosition(int position);

 private:
  TIniFile ini_;
  TSettings values_;
  TReopenFileHolder recentFiles_;
  bool showMMIDefault_;
};

}  // namespace varnel

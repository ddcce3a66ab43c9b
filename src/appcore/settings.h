#pragma once
// The user settings held in memory for the whole run, named after their keys in "config.ini",
// and their reading and writing section by section.

#include <string>

#include "appcore/colornames.h"

namespace varnel {

class TIniFile;

inline constexpr const char* kDefaultIconMask =
    "*.cur;*.ico;*.ani;*.exe;*.dll;*.icl;*.nil;*.il;*.acl;*.ocx;*.scr;*.bpl;*.~bpl;*.dpl;*.~dpl;"
    "*.arx;*.ovl;*.hdi;*.bk;*.cpl;*.vbx;*.drv;*.acm;*.ax;*.cp$;*.tsp;*.mod;*.sfx;*.flt;*.rsrc;"
    "*.dcr;*.res;*.icns;icon*.*";
inline constexpr int kDefaultMaxArchiveSize = 12;
inline constexpr int kMostSearchJobs = 64;
inline constexpr int kWindowEdgeNotStored = -100000;
inline constexpr int kWindowHeightMaximized = -1;
inline constexpr TColor kDefaultIcoNo = 15597227;

// "ShowMMI" is on by default unless the screen shows 32 bits per pixel.
constexpr bool DefaultShowMMI(int screenBitsPerPixel) {
  return screenBitsPerPixel != 32;
}

struct TSettings {
  // Section "Display".
  bool StandardToolBar = true;
  bool StatusBar = true;
  bool ShowMMI = false;
  std::string MenuLanguage;
  int grIconSize = 48;  // 16, 32, 48, -1 (custom) or -2 (the system's sizes)
  int grIconSizeW = 64;
  int grIconSizeH = 64;
  int grIconBPP = 32;
  bool grCaption = true;
  bool grFormats = false;
  bool grExactView = false;
  bool grPropView = true;
  bool grEnlarge = false;

  // Section "Color".
  TColor Back1bpp = clWhite;
  TColor Back4bpp = clSilver;
  TColor Back8bpp = clSilver;
  TColor IcoNo = kDefaultIcoNo;

  // Section "Cfg".
  bool ConfirmDIFL = true;
  bool ConfirmUPF = true;
  bool WarnNotTrueColorMode = true;
  int ICLExportLimit = 1600;
  int OpenFolderDialogStyle = 1;
  std::string IconMask = kDefaultIconMask;
  bool ExcludeDups = true;
  bool IncludeSubDirs = true;
  bool SearchArchives = false;
  int MaxArchiveSize = kDefaultMaxArchiveSize;
  // Threads reading files during a search: 0 one per processor core, 1 none besides the
  // window's (files read one after another).
  int SearchJobs = 0;
  bool SearchWebForGif = false;
  bool SearchWebForFavicon = true;
  // Where the Internet crawl fetches a fresh list; empty: it starts again over its own list.
  std::string InetListUrl;
  bool Welcome = true;
  bool SaveWinSize = true;
  int WinHeight = 0;
  int WinWidth = 0;
  int WinLeft = kWindowEdgeNotStored;
  int WinTop = kWindowEdgeNotStored;

  // Section "Last".
  std::string LastOpen;  // key "Open"
  std::string SearchIconsDir;

  // Section "Stat".
  int idxNextDownload = 0;
  std::string LastOpenUrl;
};

// The corrections applied to values read from the file.
int CorrectIconSizeMode(int mode);
int CorrectIconBPP(int bpp);
int CorrectMaxArchiveSize(int megabytes);
std::string CorrectIconMask(const std::string& mask);

// Reads the sections "Display", "Color", "Cfg", "Last" and "Stat"; absent keys give the
// defaults of a fresh TSettings (with "ShowMMI" from showMMIDefault).
TSettings ReadSettings(const TIniFile& ini, bool showMMIDefault);
// Writes the same sections except the window placement keys of "Cfg", which only the main
// window's placement writes.
void WriteSettings(TIniFile& ini, const TSettings& settings);

}  // namespace varnel

#include "appcore/settings.h"

#include "platform/inifile.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr const char* kDisplay = "Display";
constexpr const char* kColor = "Color";
constexpr const char* kCfg = "Cfg";
constexpr const char* kLast = "Last";
constexpr const char* kStat = "Stat";

// The largest custom grid cell the program draws.
constexpr int kMaxCustomCellSize = 256;

void ReadDisplay(const TIniFile& ini, TSettings& s, bool showMMIDefault) {
  s.StandardToolBar = ini.ReadBool(kDisplay, "StandardToolBar", s.StandardToolBar);
  s.StatusBar = ini.ReadBool(kDisplay, "StatusBar", s.StatusBar);
  s.ShowMMI = ini.ReadBool(kDisplay, "ShowMMI", showMMIDefault);
  s.MenuLanguage = ini.ReadString(kDisplay, "MenuLanguage", s.MenuLanguage);
  s.grIconSize = CorrectIconSizeMode(ini.ReadInteger(kDisplay, "grIconSize", s.grIconSize));
  int width = ini.ReadInteger(kDisplay, "grIconSizeW", s.grIconSizeW);
  int height = ini.ReadInteger(kDisplay, "grIconSizeH", s.grIconSizeH);
  s.grIconSizeW = (width < 1 || width > kMaxCustomCellSize) ? 64 : width;
  s.grIconSizeH = (height < 1 || height > kMaxCustomCellSize) ? s.grIconSizeW : height;
  s.grIconBPP = CorrectIconBPP(ini.ReadInteger(kDisplay, "grIconBPP", s.grIconBPP));
  s.grCaption = ini.ReadBool(kDisplay, "grCaption", s.grCaption);
  s.grFormats = ini.ReadBool(kDisplay, "grFormats", s.grFormats);
  s.grExactView = ini.ReadBool(kDisplay, "grExactView", s.grExactView);
  s.grPropView = ini.ReadBool(kDisplay, "grPropView", s.grPropView);
  s.grEnlarge = ini.ReadBool(kDisplay, "grEnlarge", s.grEnlarge);
}

void ReadColors(const TIniFile& ini, TSettings& s) {
  s.Back1bpp = ReadColor(ini, kColor, "Back1bpp", s.Back1bpp);
  s.Back4bpp = ReadColor(ini, kColor, "Back4bpp", s.Back4bpp);
  s.Back8bpp = ReadColor(ini, kColor, "Back8bpp", s.Back8bpp);
  s.IcoNo = ReadColor(ini, kColor, "IcoNo", s.IcoNo);
}

void ReadCfg(const TIniFile& ini, TSettings& s) {
  s.ConfirmDIFL = ini.ReadBool(kCfg, "ConfirmDIFL", s.ConfirmDIFL);
  s.ConfirmUPF = ini.ReadBool(kCfg, "ConfirmUPF", s.ConfirmUPF);
  s.WarnNotTrueColorMode = ini.ReadBool(kCfg, "WarnNotTrueColorMode", s.WarnNotTrueColorMode);
  s.ICLExportLimit = ini.ReadInteger(kCfg, "ICLExportLimit", s.ICLExportLimit);
  s.OpenFolderDialogStyle = ini.ReadInteger(kCfg, "OpenFolderDialogStyle", s.OpenFolderDialogStyle);
  s.IconMask = CorrectIconMask(ini.ReadString(kCfg, "IconMask", s.IconMask));
  s.ExcludeDups = ini.ReadBool(kCfg, "ExcludeDups", s.ExcludeDups);
  s.IncludeSubDirs = ini.ReadBool(kCfg, "IncludeSubDirs", s.IncludeSubDirs);
  s.SearchArchives = ini.ReadBool(kCfg, "SearchArchives", s.SearchArchives);
  s.MaxArchiveSize =
      CorrectMaxArchiveSize(ini.ReadInteger(kCfg, "MaxArchiveSize", s.MaxArchiveSize));
  s.SearchJobs = ini.ReadIntegerInRange(kCfg, "SearchJobs", s.SearchJobs, 0, kMostSearchJobs);
  s.SearchWebForGif = ini.ReadBool(kCfg, "SearchWebForGif", s.SearchWebForGif);
  s.SearchWebForFavicon = ini.ReadBool(kCfg, "SearchWebForFavicon", s.SearchWebForFavicon);
  s.InetListUrl = ini.ReadString(kCfg, "InetListUrl", s.InetListUrl);
  s.Welcome = ini.ReadBool(kCfg, "Welcome", s.Welcome);
  s.SaveWinSize = ini.ReadBool(kCfg, "SaveWinSize", s.SaveWinSize);
  s.WinHeight = ini.ReadInteger(kCfg, "WinHeight", s.WinHeight);
  s.WinWidth = ini.ReadInteger(kCfg, "WinWidth", s.WinWidth);
  s.WinLeft = ini.ReadInteger(kCfg, "WinLeft", s.WinLeft);
  s.WinTop = ini.ReadInteger(kCfg, "WinTop", s.WinTop);
}

void ReadLastAndStat(const TIniFile& ini, TSettings& s) {
  s.LastOpen = ini.ReadString(kLast, "Open", s.LastOpen);
  s.SearchIconsDir = ini.ReadString(kLast, "SearchIconsDir", s.SearchIconsDir);
  s.idxNextDownload = ini.ReadInteger(kStat, "idxNextDownload", s.idxNextDownload);
  s.LastOpenUrl = ini.ReadString(kStat, "LastOpenUrl", s.LastOpenUrl);
}

void WriteDisplay(TIniFile& ini, const TSettings& s) {
  ini.WriteBool(kDisplay, "StandardToolBar", s.StandardToolBar);
  ini.WriteBool(kDisplay, "StatusBar", s.StatusBar);
  ini.WriteBool(kDisplay, "ShowMMI", s.ShowMMI);
  ini.WriteString(kDisplay, "MenuLanguage", s.MenuLanguage);
  ini.WriteInteger(kDisplay, "grIconSize", s.grIconSize);
  ini.WriteInteger(kDisplay, "grIconSizeW", s.grIconSizeW);
  ini.WriteInteger(kDisplay, "grIconSizeH", s.grIconSizeH);
  ini.WriteInteger(kDisplay, "grIconBPP", s.grIconBPP);
  ini.WriteBool(kDisplay, "grCaption", s.grCaption);
  ini.WriteBool(kDisplay, "grFormats", s.grFormats);
  ini.WriteBool(kDisplay, "grExactView", s.grExactView);
  ini.WriteBool(kDisplay, "grPropView", s.grPropView);
  ini.WriteBool(kDisplay, "grEnlarge", s.grEnlarge);
}

void WriteColors(TIniFile& ini, const TSettings& s) {
  WriteColor(ini, kColor, "Back1bpp", s.Back1bpp);
  WriteColor(ini, kColor, "Back4bpp", s.Back4bpp);
  WriteColor(ini, kColor, "Back8bpp", s.Back8bpp);
  WriteColor(ini, kColor, "IcoNo", s.IcoNo);
}

void WriteCfg(TIniFile& ini, const TSettings& s) {
  ini.WriteBool(kCfg, "ConfirmDIFL", s.ConfirmDIFL);
  ini.WriteBool(kCfg, "ConfirmUPF", s.ConfirmUPF);
  ini.WriteBool(kCfg, "WarnNotTrueColorMode", s.WarnNotTrueColorMode);
  ini.WriteInteger(kCfg, "ICLExportLimit", s.ICLExportLimit);
  ini.WriteInteger(kCfg, "OpenFolderDialogStyle", s.OpenFolderDialogStyle);
  ini.WriteString(kCfg, "IconMask", s.IconMask);
  ini.WriteBool(kCfg, "ExcludeDups", s.ExcludeDups);
  ini.WriteBool(kCfg, "IncludeSubDirs", s.IncludeSubDirs);
  ini.WriteBool(kCfg, "SearchArchives", s.SearchArchives);
  ini.WriteInteger(kCfg, "MaxArchiveSize", s.MaxArchiveSize);
  // Kept only when the default (one thread per core) was changed by hand.
  if (s.SearchJobs)
    ini.WriteInteger(kCfg, "SearchJobs", s.SearchJobs);
  else
    ini.DeleteKey(kCfg, "SearchJobs");
  ini.WriteBool(kCfg, "SearchWebForGif", s.SearchWebForGif);
  ini.WriteBool(kCfg, "SearchWebForFavicon", s.SearchWebForFavicon);
  if (!s.InetListUrl.empty()) ini.WriteString(kCfg, "InetListUrl", s.InetListUrl);
  ini.WriteBool(kCfg, "Welcome", s.Welcome);
}

void WriteLastAndStat(TIniFile& ini, const TSettings& s) {
  if (!s.LastOpen.empty()) ini.WriteString(kLast, "Open", s.LastOpen);
  if (!s.SearchIconsDir.empty()) ini.WriteString(kLast, "SearchIconsDir", s.SearchIconsDir);
  ini.WriteInteger(kStat, "idxNextDownload", s.idxNextDownload);
  ini.WriteString(kStat, "LastOpenUrl", s.LastOpenUrl);
}

}  // namespace

int CorrectIconSizeMode(int mode) {
  switch (mode) {
    case 16:
    case 32:
    case 48:
    case -1:
    case -2:
      return mode;
    default:
      return 48;
  }
}

int CorrectIconBPP(int bpp) {
  return bpp < 0 ? 32 : bpp;
}

int CorrectMaxArchiveSize(int megabytes) {
  return (megabytes < 1 || megabytes > 1000) ? kDefaultMaxArchiveSize : megabytes;
}

std::string CorrectIconMask(const std::string& mask) {
  std::string trimmed = Trim(mask);
  return trimmed.empty() ? std::string(kDefaultIconMask) : trimmed;
}

TSettings ReadSettings(const TIniFile& ini, bool showMMIDefault) {
  TSettings settings;
  ReadDisplay(ini, settings, showMMIDefault);
  ReadColors(ini, settings);
  ReadCfg(ini, settings);
  ReadLastAndStat(ini, settings);
  return settings;
}

void WriteSettings(TIniFile& ini, const TSettings& settings) {
  WriteDisplay(ini, settings);
  WriteColors(ini, settings);
  WriteCfg(ini, settings);
  WriteLastAndStat(ini, settings);
}

}  // namespace varnel

#include "appcore/exportsinglesettings.h"

#include "appcore/colornames.h"
#include "platform/inifile.h"

namespace varnel {

namespace {

constexpr const char* kSection = "ExportSingle";

}  // namespace

TExportSingleSettings TExportSingleSettings::Read(const TIniFile& ini) {
  TExportSingleSettings s;
  s.ML = ini.ReadIntegerInRange(kSection, "ML", s.ML, 0, 100);
  s.MR = ini.ReadIntegerInRange(kSection, "MR", s.MR, 0, 100);
  s.MT = ini.ReadIntegerInRange(kSection, "MT", s.MT, 0, 100);
  s.MB = ini.ReadIntegerInRange(kSection, "MB", s.MB, 0, 100);
  s.GH = ini.ReadIntegerInRange(kSection, "GH", s.GH, 0, 50);
  s.GV = ini.ReadIntegerInRange(kSection, "GV", s.GV, 0, 50);
  s.CW = ini.ReadIntegerInRange(kSection, "CW", s.CW, 1, 256);
  s.CH = ini.ReadIntegerInRange(kSection, "CH", s.CH, 1, 256);
  s.CC = ini.ReadIntegerInRange(kSection, "CC", s.CC, 1, 300);
  s.CR = ini.ReadIntegerInRange(kSection, "CR", s.CR, 1, 300);
  s.StretchToFit = ini.ReadBool(kSection, "StretchToFit", s.StretchToFit);
  s.Backup = ini.ReadBool(kSection, "Backup", s.Backup);
  s.bkColor = ReadColor(ini, kSection, "bkColor", s.bkColor);
  s.Dir = ini.ReadString(kSection, "Dir", s.Dir);
  return s;
}

void TExportSingleSettings::Write(TIniFile& ini) const {
  ini.WriteInteger(kSection, "ML", ML);
  ini.WriteInteger(kSection, "MR", MR);
  ini.WriteInteger(kSection, "MT", MT);
  ini.WriteInteger(kSection, "MB", MB);
  ini.WriteInteger(kSection, "GH", GH);
  ini.WriteInteger(kSection, "GV", GV);
  ini.WriteInteger(kSection, "CW", CW);
  ini.WriteInteger(kSection, "CH", CH);
  ini.WriteInteger(kSection, "CC", CC);
  ini.WriteInteger(kSection, "CR", CR);
  ini.WriteBool(kSection, "StretchToFit", StretchToFit);
  ini.WriteBool(kSection, "Backup", Backup);
  WriteColor(ini, kSection, "bkColor", bkColor);
  ini.WriteString(kSection, "Dir", Dir);
}

}  // namespace varnel

#include "appcore/newimageresizesettings.h"

#include "platform/inifile.h"

namespace varnel {

namespace {

constexpr const char* kSection = "NewImageResize";

}  // namespace

TNewImageResizeSettings TNewImageResizeSettings::Read(const TIniFile& ini) {
  TNewImageResizeSettings s;
  s.Size = ini.ReadIntegerInRange(kSection, "Size", s.Size, 0, 6);
  s.Width = ini.ReadIntegerInRange(kSection, "Width", s.Width, 1, 3000);
  s.Height = ini.ReadIntegerInRange(kSection, "Height", s.Height, 1, 3000);
  s.Square = ini.ReadBool(kSection, "Square", s.Square);
  s.Proportions = ini.ReadBool(kSection, "Proportions", s.Proportions);
  s.ResampleFilter =
      ini.ReadIntegerInRange(kSection, "ResampleFilter", s.ResampleFilter, 0, kFilterCount - 1);
  return s;
}

void TNewImageResizeSettings::Write(TIniFile& ini) const {
  ini.WriteInteger(kSection, "Size", Size);
  ini.WriteInteger(kSection, "Width", Width);
  ini.WriteInteger(kSection, "Height", Height);
  ini.WriteBool(kSection, "Square", Square);
  ini.WriteBool(kSection, "Proportions", Proportions);
  ini.WriteInteger(kSection, "ResampleFilter", ResampleFilter);
}

}  // namespace varnel

#include "appcore/colornames.h"

#include <array>
#include <cstdio>

#include "platform/inifile.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

struct NamedColor {
  TColor color;
  const char* name;
};

// The first name of a colour is the one written; later ones are read as well.
constexpr NamedColor kNamedColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {SystemColor(26), "clHotLight"},
    {SystemColor(27), "clGradientActiveCaption"},
    {SystemColor(28), "clGradientInactiveCaption"},
    {SystemColor(29), "clMenuHighlight"},
    {SystemColor(30), "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clSilver, "clLtGray"},
    {clGray, "clDkGray"},
};

// The classic desktop scheme, by system colour index.
constexpr std::array<TColor, 31> kSystemColorValues = {
    RGB(200, 200, 200),  // scroll bar
    RGB(58, 110, 165),   // desktop background
    RGB(10, 36, 106),    // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(212, 208, 200),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(212, 208, 200),  // active border
    RGB(212, 208, 200),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(10, 36, 106),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(212, 208, 200),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(212, 208, 200),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(64, 64, 64),     // 3D dark shadow
    RGB(212, 208, 200),  // 3D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
    RGB(0, 0, 0),        // (unused)
    RGB(0, 0, 128),      // hot-tracked item
    RGB(166, 202, 240),  // active caption gradient
    RGB(192, 192, 192),  // inactive caption gradient
    RGB(49, 106, 197),   // menu highlight
    RGB(212, 208, 200),  // menu bar
};

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & kSystemColorFlag) == 0) return color;
  TColor index = color & 0xFF;
  return index < kSystemColorValues.size() ? kSystemColorValues[index] : clBlack;
}

std::optional<std::string> ColorToIdent(TColor color) {
  for (const NamedColor& named : kNamedColors) {
    if (named.color == color) return std::string(named.name);
  }
  return std::nullopt;
}

std::optional<TColor> IdentToColor(const std::string& name) {
  for (const NamedColor& named : kNamedColors) {
    if (SameText(named.name, name)) return named.color;
  }
  return std::nullopt;
}

std::string ColorToString(TColor color) {
  if (auto name = ColorToIdent(color)) return *name;
  char text[16];
  std::snprintf(text, sizeof text, "$%.8X", unsigned(color));
  return text;
}

std::optional<TColor> StringToColor(const std::string& text) {
  std::string trimmed = Trim(text);
  if (auto color = IdentToColor(trimmed)) return color;
  if (auto number = TryParseInteger(trimmed)) return TColor(*number);
  return std::nullopt;
}

TColor ReadColor(const TIniFile& ini, const std::string& section, const std::string& key,
                 TColor defaultColor) {
  return StringToColor(ini.ReadString(section, key, "")).value_or(defaultColor);
}

void WriteColor(TIniFile& ini, const std::string& section, const std::string& key, TColor color) {
  ini.WriteString(section, key, ColorToString(color));
}

}  // namespace varnel

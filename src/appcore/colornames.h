#pragma once
// Colour identifier names, the system colours, and the text form colours take in the settings
// file: the identifier name when the colour has one, else "$" and 8 hexadecimal digits.

#include <optional>
#include <string>

#include "graphics/color.h"

namespace varnel {

class TIniFile;

constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clDefault = 0x20000000;

// A system colour is 0x80000000 with the index of the system's colour table in the low byte.
constexpr TColor kSystemColorFlag = 0x80000000;
constexpr TColor SystemColor(int index) {
  return kSystemColorFlag | TColor(index);
}
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

// The red-green-blue value of a colour: system colours through a fixed table of the classic
// desktop scheme, other colours unchanged.
TColor ColorToRGB(TColor color);

// "clWhite" for white, "clBtnFace" for the button face colour; nothing when it has no name.
std::optional<std::string> ColorToIdent(TColor color);
// The colour of an identifier name, letter case ignored.
std::optional<TColor> IdentToColor(const std::string& name);

// The settings file form of a colour.
std::string ColorToString(TColor color);
// Reads a name or a number (decimal, "$" or "0x" hexadecimal); nothing for other text.
std::optional<TColor> StringToColor(const std::string& text);

// Colour values of the settings file; empty, absent or unreadable values give the default.
TColor ReadColor(const TIniFile& ini, const std::string& section, const std::string& key,
                 TColor defaultColor);
void WriteColor(TIniFile& ini, const std::string& section, const std::string& key, TColor color);

}  // namespace varnel

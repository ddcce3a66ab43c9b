#include "appcore/colorselection.h"

#include <algorithm>
#include <cstdio>

#include "platform/textfunctions.h"

namespace varnel {

const std::array<TSystemColorEntry, 25> TColorSelectionModel::kSystemColors = {{
    {"BtnFace", clBtnFace},
    {"Window", clWindow},
    {"Menu", clMenu},
    {"MenuText", clMenuText},
    {"Background", clBackground},
    {"AppWorkSpace", clAppWorkSpace},
    {"ActiveCaption", clActiveCaption},
    {"InactiveCaption", clInactiveCaption},
    {"CaptionText", clCaptionText},
    {"ActiveBorder", clActiveBorder},
    {"InactiveBorder", clInactiveBorder},
    {"Highlight", clHighlight},
    {"HighlightText", clHighlightText},
    {"BtnShadow", clBtnShadow},
    {"GrayText", clGrayText},
    {"BtnText", clBtnText},
    {"InactiveCaptionText", clInactiveCaptionText},
    {"BtnHighlight", clBtnHighlight},
    {"3DDkShadow", cl3DDkShadow},
    {"3DLight", cl3DLight},
    {"InfoText", clInfoText},
    {"InfoBk", clInfoBk},
    {"WindowFrame", clWindowFrame},
    {"WindowText", clWindowText},
    {"ScrollBar", clScrollBar},
}};

namespace {

std::optional<TColor> ParseRedFirstHex(std::string text) {
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.empty() || text.size() > 6) return std::nullopt;
  auto value = TryParseInteger("$" + text);
  if (!value) return std::nullopt;
  uint32_t rgb = uint32_t(*value);
  return RGB(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

std::optional<TColor> SystemColorNamed(const std::string& name) {
  for (const TSystemColorEntry& entry : TColorSelectionModel::kSystemColors) {
    if (SameText(entry.name, name)) return entry.color;
  }
  return std::nullopt;
}

}  // namespace

void TColorSelectionModel::Open(TColor color, TColor defaultColor) {
  defaultColor_ = defaultColor;
  auto button = std::find(kButtonColors.begin(), kButtonColors.end(), color);
  if (button != kButtonColors.end()) {
    pressedButton_ = int(button - kButtonColors.begin());
    return;
  }
  SelectMatchingSystemColor(color);
  customColor_ = color;
  pressedButton_ = kNoButton;
}

void TColorSelectionModel::SelectMatchingSystemColor(TColor color) {
  for (size_t i = 0; i < kSystemColors.size(); ++i) {
    TColor entry = kSystemColors[i].color;
    if (entry == color || ColorToRGB(entry) == color) {
      systemColorIndex_ = int(i);
      return;
    }
  }
}

void TColorSelectionModel::ClickButton(int button) {
  if (button >= 0 && button < int(kButtonColors.size())) pressedButton_ = button;
}

void TColorSelectionModel::ChooseSystemColor(int index) {
  if (index < 0 || index >= int(kSystemColors.size())) return;
  systemColorIndex_ = index;
  SetCustomColor(kSystemColors[size_t(index)].color);
}

void TColorSelectionModel::SetCustomColor(TColor color) {
  customColor_ = color;
  pressedButton_ = kNoButton;
}

void TColorSelectionModel::SelectDefault() {
  if (DefaultVisible()) Open(defaultColor_, defaultColor_);
}

TColor TColorSelectionModel::PressedColor() const {
  return pressedButton_ == kNoButton ? customColor_ : kButtonColors[size_t(pressedButton_)];
}

std::string TColorSelectionModel::HexText() const {
  TColor rgb = ColorToRGB(PressedColor());
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
  return text;
}

void TColorSelectionModel::TypeHexText(const std::string& text) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) return SetCustomColor(clBlack);
  if (auto system = SystemColorNamed(trimmed)) return SetCustomColor(*system);
  if (auto color = ParseRedFirstHex(trimmed)) SetCustomColor(*color);
}

TColor TColorSelectionModel::Result() const {
  return ColorToRGB(PressedColor());
}

TWindowBounds TColorSelectionModel::Place(int mouseX, int mouseY, int width, int height,
                                          TScreenSize screen) {
  int left = mouseX - width / 2;
  int top = mouseY - height / 2;
  left = std::max(std::min(left, screen.width - kPlacementMargin - width), kPlacementMargin);
  top = std::max(std::min(top, screen.height - kPlacementMargin - height), kPlacementMargin);
  return {left, top, width, height};
}

bool SelectColor(TColorSelectionView& view, TColor& color, TColor defaultColor) {
  view.Model().Open(color, defaultColor);
  if (!view.Execute()) return false;
  color = view.Model().Result();
  return true;
}

}  // namespace varnel

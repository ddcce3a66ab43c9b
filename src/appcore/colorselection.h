#pragma once
// The colour selection dialog ("Select Color") as its controls hold it: sixteen colour
// buttons, the list of system colours, the custom colour with its hexadecimal text field, and
// the optional "&Default" button.

#include <array>
#include <optional>
#include <string>

#include "appcore/colornames.h"
#include "appcore/windowplacement.h"

namespace varnel {

struct TSystemColorEntry {
  const char* name;  // without the "cl" prefix
  TColor color;
};

class TColorSelectionModel {
 public:
  static constexpr const char* kCaption = "Select Color";
  static constexpr const char* kSystemColorsLabel = "System colors:";
  static constexpr const char* kOtherButton = "Other...";
  static constexpr const char* kPickLabel = "Pick color: Ctrl+P";
  static constexpr int kSwatchWidth = 30;
  static constexpr int kPickerIntervalMs = 100;
  static constexpr int kPickerDelayAfterOtherMs = 1000;
  static constexpr int kNoButton = -1;
  static constexpr int kPlacementMargin = 30;
  static constexpr std::array<TColor, 16> kButtonColors = {
      clWhite, clAqua, clFuchsia, clBlue, clYellow, clLime,  clRed,    clSilver,
      clGray,  clTeal, clPurple,  clNavy, clOlive,  clGreen, clMaroon, clBlack};
  static const std::array<TSystemColorEntry, 25> kSystemColors;

  // Opening with a colour: the button of that colour is pressed; failing that, the system
  // colour list selects the first entry equal to it (directly or by its red-green-blue value)
  // and the custom colour button, showing the colour, is pressed. defaultColor clNone hides
  // the "&Default" button.
  void Open(TColor color, TColor defaultColor);

  int PressedButton() const { return pressedButton_; }  // kNoButton: the custom colour button
  TColor CustomColor() const { return customColor_; }
  int SystemColorIndex() const { return systemColorIndex_; }  // -1 when none is selected
  bool DefaultVisible() const { return defaultColor_ != clNone; }

  // A click on a colour button; it confirms the dialog at once.
  void ClickButton(int button);
  // Choosing an entry of the system colour list makes it the custom colour.
  void ChooseSystemColor(int index);
  // A colour from the system colour dialog or the screen picker.
  void SetCustomColor(TColor color);
  // "&Default" selects the default colour as opening with it would.
  void SelectDefault();

  // The text field: "#" and six upper-case hexadecimal digits, red first.
  std::string HexText() const;
  // Typing in the text field: a system colour name without "cl", or a hexadecimal number with
  // or without "#", red first; an empty field means black; other text changes nothing.
  void TypeHexText(const std::string& text);

  // "&OK": the colour of the pressed button as a red-green-blue value.
  TColor Result() const;

  // The dialog's top-left corner: centred on the mouse, at least 30 pixels inside every edge.
  static TWindowBounds Place(int mouseX, int mouseY, int width, int height, TScreenSize screen);

 private:
  TColor PressedColor() const;
  void SelectMatchingSystemColor(TColor color);

  int pressedButton_ = kNoButton;
  TColor customColor_ = clBlack;
  int systemColorIndex_ = -1;
  TColor defaultColor_ = clNone;
};

// The dialog as the desktop program presents it. It is made once and kept, so that the list
// selection and the custom colour stay from one use to the next.
class TColorSelectionView {
 public:
  virtual ~TColorSelectionView() = default;
  virtual TColorSelectionModel& Model() = 0;
  // Shows the dialog on its model; true when confirmed ("&OK" or a colour button).
  virtual bool Execute() = 0;
};

// Opens the dialog on color; on confirmation color becomes the chosen red-green-blue value.
bool SelectColor(TColorSelectionView& view, TColor& color, TColor defaultColor);

}  // namespace varnel

#pragma once
// The options dialog ("Options") as its controls hold it: filled from the settings when it
// opens, reset by "Default", and taken into the settings by "OK".

#include <array>
#include <string>

#include "appcore/settings.h"

namespace varnel {

class TApplicationSettings;
class TMainWindowFrame;

enum class TOptionsPage { Dialogs = 0, Export = 1, Import = 2, Tuning = 3 };

class TConfigurationModel {
 public:
  static constexpr const char* kCaption = "Options";
  static constexpr std::array<const char*, 4> kPageCaptions = {"Dialogs", "Export", "Import",
                                                               "Tuning"};
  static constexpr int kLimitMinimum = 100;
  static constexpr int kLimitMaximum = 16000;
  static constexpr int kLimitStep = 100;
  static constexpr size_t kArchiveSizeMaxLength = 3;
  // The default colours the colour selection offers for the 4-bit and 8-bit buttons.
  static constexpr TColor kDefaultFor4bpp = clNone;
  static constexpr TColor kDefaultFor8bpp = clSilver;

  // The controls, named after the settings they show.
  bool ConfirmDIFL = true;
  bool ConfirmUPF = true;
  int ICLExportLimit = 1600;  // the spin field keeps it between its minimum and maximum
  TColor Back1bpp = clWhite;
  TColor Back4bpp = clSilver;
  TColor Back8bpp = clSilver;
  std::string IconMask;
  bool ExcludeDups = true;
  std::string MaxArchiveSizeText;
  bool ShowMMI = false;
  bool SaveWinSize = true;

  // Opening: every control from the in-memory settings.
  TConfigurationModel(const TSettings& settings, bool showMMIDefault);

  // The 1-bit button's menu: "&Black" is checked when the colour is 0, else "&White".
  bool MonochromeIsBlack() const { return Back1bpp == clBlack; }
  void ChooseMonochrome(bool black) { Back1bpp = black ? clBlack : clWhite; }
  void SetICLExportLimit(int limit);
  // The archive size field takes at most three characters.
  void SetMaxArchiveSizeText(const std::string& text);

  // "Default": the controls (not yet the settings) get their default values.
  void ApplyDefaults();
  // "OK": the controls go into the settings, the archive size and mask corrected.
  void TakeInto(TSettings& settings) const;
  // The archive size field's text as a size: not a number, 0 or less, or above 1000 gives 12.
  static int ParseMaxArchiveSize(const std::string& text);

 private:
  bool showMMIDefault_;
};

// The dialog as the desktop program presents it: shows the model on the given page and
// returns true when closed with "OK".
class TOptionsDialogView {
 public:
  virtual ~TOptionsDialogView() = default;
  virtual bool Execute(TConfigurationModel& model, TOptionsPage page) = 0;
};

// Shows the options dialog; on "OK" the values are taken into the settings and all settings
// are saved (with the main window's placement when a window is given). Returns true when
// confirmed.
bool EditOptions(TOptionsPage page, TApplicationSettings& settings, TOptionsDialogView& view,
                 const TMainWindowFrame* window = nullptr);

}  // namespace varnel

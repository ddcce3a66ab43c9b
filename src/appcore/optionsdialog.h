#pragma once
// The options dialog ("Options") as its controls hold it: filled from the settings when it
// opens, reset by "Default", and taken into the settings by "OK".

#include <array>
#include <string>

#include "appcore/colorselection.h"
#include "appcore/settings.h"

namespace varnel {

class TApplicationSettings;
class TMainWindowFrame;

enum class TOptionsPage { Dialogs = 0, Export = 1, Import = 2, Tuning = 3 };

// The texts of the dialog's controls, page by page.
namespace options_texts {
inline constexpr const char* kMessagesGroup = "Messages";
inline constexpr const char* kConfirmDIFL = "Confirm &deleting icons from the collection";
inline constexpr const char* kConfirmUPF = "Confirm &updating program files";
inline constexpr const char* kICLExportLimit = "&Maximum icon amount in ICL files";
inline constexpr const char* kBackgroundGroup = "Bitmap background colors";
inline constexpr const char* kColorFormats = "Icon color formats:";
inline constexpr const char* kBack1bpp = "Monochrome (1 bit)";
inline constexpr const char* kBack4bpp = "16-colors (4 bits)";
inline constexpr const char* kBack8bpp = "256-colors and more";
inline constexpr const char* kBlack = "&Black";
inline constexpr const char* kWhite = "&White";
inline constexpr const char* kIconMask = "&Search for icons the following file types:";
inline constexpr const char* kEditFileTypesHint = "Edit file types";
inline constexpr const char* kExcludeDups = "Exclude duplicates during search for icons";
inline constexpr const char* kMaxArchiveSize = "Search archives not larger than (MB)";
inline constexpr const char* kShowMMI = "&Show images in the main menu";
inline constexpr const char* kSaveWinSize = "Save window size and position";
inline constexpr const char* kDefaultButton = "Default";
}  // namespace options_texts

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
  // The 4-bit button offers no default colour, the 8-bit button silver; each takes the chosen
  // colour when the colour selection is confirmed.
  bool PickBack4bpp(TColorSelectionView& view) {
    return SelectColor(view, Back4bpp, kDefaultFor4bpp);
  }
  bool PickBack8bpp(TColorSelectionView& view) {
    return SelectColor(view, Back8bpp, kDefaultFor8bpp);
  }
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

#include "appcore/optionsdialog.h"

#include <algorithm>

#include "appcore/applicationsettings.h"
#include "platform/textfunctions.h"

namespace varnel {

TConfigurationModel::TConfigurationModel(const TSettings& settings, bool showMMIDefault)
    : ConfirmDIFL(settings.ConfirmDIFL),
      ConfirmUPF(settings.ConfirmUPF),
      Back1bpp(settings.Back1bpp),
      Back4bpp(settings.Back4bpp),
      Back8bpp(settings.Back8bpp),
      IconMask(settings.IconMask),
      ExcludeDups(settings.ExcludeDups),
      ShowMMI(settings.ShowMMI),
      SaveWinSize(settings.SaveWinSize),
      showMMIDefault_(showMMIDefault) {
  SetICLExportLimit(settings.ICLExportLimit);
  SetMaxArchiveSizeText(std::to_string(settings.MaxArchiveSize));
}

void TConfigurationModel::SetICLExportLimit(int limit) {
  ICLExportLimit = std::clamp(limit, kLimitMinimum, kLimitMaximum);
}

void TConfigurationModel::SetMaxArchiveSizeText(const std::string& text) {
  MaxArchiveSizeText = text.substr(0, kArchiveSizeMaxLength);
}

void TConfigurationModel::ApplyDefaults() {
  Back1bpp = clWhite;
  Back4bpp = clSilver;
  Back8bpp = clSilver;
  ICLExportLimit = 1600;
  ShowMMI = showMMIDefault_;
  IconMask = kDefaultIconMask;
  ConfirmDIFL = true;
  ConfirmUPF = true;
  SaveWinSize = true;
  ExcludeDups = true;
  MaxArchiveSizeText = std::to_string(kDefaultMaxArchiveSize);
}

int TConfigurationModel::ParseMaxArchiveSize(const std::string& text) {
  auto size = TryParseInteger(text);
  return CorrectMaxArchiveSize(size.value_or(kDefaultMaxArchiveSize));
}

void TConfigurationModel::TakeInto(TSettings& settings) const {
  settings.Back1bpp = Back1bpp;
  settings.Back4bpp = Back4bpp;
  settings.Back8bpp = Back8bpp;
  settings.ICLExportLimit = ICLExportLimit;
  settings.ShowMMI = ShowMMI;
  settings.ExcludeDups = ExcludeDups;
  settings.IconMask = CorrectIconMask(IconMask);
  settings.ConfirmDIFL = ConfirmDIFL;
  settings.ConfirmUPF = ConfirmUPF;
  settings.SaveWinSize = SaveWinSize;
  settings.MaxArchiveSize = ParseMaxArchiveSize(MaxArchiveSizeText);
}

bool EditOptions(TOptionsPage page, TApplicationSettings& settings, TOptionsDialogView& view,
                 const TMainWindowFrame* window) {
  TConfigurationModel model(settings.Values(), settings.ShowMMIDefault());
  if (!view.Execute(model, page)) return false;
  model.TakeInto(settings.Values());
  settings.SaveSettings(window);
  return true;
}

}  // namespace varnel

#include "collection/iconsavefile.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "appcore/settings.h"
#include "collection/exportnames.h"
#include "collection/iconpictures.h"
#include "collection/saveformats.h"
#include "icons/advancedicon.h"
#include "platform/userinterface.h"

namespace varnel {

namespace {

constexpr int kMaxDialogRounds = 1000;  // a dialog answered "No" this often is given up

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

bool AllowOverwrite(UserInterface& ui, const std::string& fileName) {
  char text[1200];
  std::snprintf(text, sizeof text, "File %s already exists. Overwrite?", fileName.c_str());
  return ui.ShowMessage(MakeMessage(TMessageKind::SaveFile, text, mbYesNo)) == TModalResult::mrYes;
}

// An icon holding a copy of one image, for the formats that write a whole icon.
class TLentImageIcon {
 public:
  explicit TLentImageIcon(const TSubIcon& image) {
    auto copy = std::make_unique<TSubIcon>();
    copy->LoadCopy(image);
    icon_.Images().Add(std::move(copy));
  }
  const TAdvancedIcon& Icon() const { return icon_; }

 private:
  TAdvancedIcon icon_;
};

}  // namespace

std::string FilterExtension(const std::string& filter, int index) {
  size_t start = 0;
  for (int part = 1; part < index * 2; ++part) {
    start = filter.find('|', start);
    if (start == std::string::npos) return "";
    ++start;
  }
  std::string pattern = filter.substr(start, filter.find('|', start) - start);
  pattern = pattern.substr(0, pattern.find(';'));
  if (pattern.starts_with("*.")) pattern.erase(0, 2);
  return LowerExtension("." + pattern);
}

std::string CompleteFileName(std::string name, const std::string& extension) {
  if (name.ends_with('.')) name.pop_back();
  if (!extension.empty() && LowerExtension(name) != extension) name += "." + extension;
  return name;
}

bool SaveIconFile(UserInterface& ui, const TSettings& settings, const TAdvancedIcon* icon,
                  const TSubIcon* image, const std::string& extension, std::string& fileName) {
  if (!image && icon && icon->Images().Count()) image = icon->Images()[0];
  if (!image) return fileName.clear(), false;
  std::optional<TLentImageIcon> single;
  if (!icon) icon = &single.emplace(*image).Icon();
  fileName = CompleteFileName(fileName, extension);
  TSaveJob job{*icon, *image, BackgroundForDepth(settings, image->BitsPerPixel()), fileName, ui};
  if (!WriteSaveFormat(extension, job)) return fileName.clear(), false;
  return true;
}

std::optional<TChosenSaveName> AskIconSaveName(UserInterface& ui, TIconSaveDialog& dialog,
                                               const std::string& title,
                                               const std::string& proposedName) {
  TFileDialogRequest request{
      title, SaveFormatFilter(), dialog.filterIndex, "", proposedName, "", false, false};
  for (int round = 0; round < kMaxDialogRounds; ++round) {
    std::optional<TFileDialogAnswer> answer = ui.ChooseFileToSave(request);
    if (!answer || answer->files.empty()) return std::nullopt;
    dialog.filterIndex = answer->filterIndex;
    std::string extension = FilterExtension(request.filter, answer->filterIndex);
    std::string name = CompleteFileName(answer->files[0], extension);
    if (!FileExists(name) || AllowOverwrite(ui, name)) return TChosenSaveName{name, extension};
    request.fileName = answer->files[0];
    request.filterIndex = answer->filterIndex;
  }
  return std::nullopt;
}

bool SaveIconWithDialog(UserInterface& ui, const TSettings& settings, TIconSaveDialog& dialog,
                        const std::string& title, const std::string& proposedName,
                        const TAdvancedIcon* icon, const TSubIcon* image) {
  std::optional<TChosenSaveName> chosen = AskIconSaveName(ui, dialog, title, proposedName);
  if (!chosen) return false;
  bool written = SaveIconFile(ui, settings, icon, image, chosen->extension, chosen->fileName);
  dialog.fileName = WithoutExtension(chosen->fileName);
  return written;
}

std::string ProposedIconName(const TIconSaveDialog& dialog, const std::string& iconName) {
  return FolderOf(dialog.fileName) + iconName;
}

std::string ProposedFrameName(const TIconSaveDialog& dialog, const std::string& iconName, int row) {
  return ProposedIconName(dialog, iconName) + std::to_string(row);
}

}  // namespace varnel

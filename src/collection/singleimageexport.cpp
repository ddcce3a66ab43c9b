#include "collection/singleimageexport.h"

#include "collection/exportnames.h"
#include "collection/fmlib.h"
#include "collection/iconsavefile.h"
#include "collection/sheetexport.h"

namespace varnel {

namespace {

constexpr int kMaxDialogRounds = 1000;

std::vector<const TAdvancedIcon*> IconsToExport(const TfmLib& lib) {
  std::vector<const TAdvancedIcon*> all, selected;
  for (int i = 0; i < lib.Count(); ++i) {
    all.push_back(lib.Items().Icons(i));
    if (lib.IsSelected(i)) selected.push_back(lib.Items().Icons(i));
  }
  return selected.empty() ? all : selected;
}

// The waiting cursor for the time the sheets are built.
class TWaitCursorScope {
 public:
  explicit TWaitCursorScope(UserInterface& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
  ~TWaitCursorScope() { ui_.SetWaitCursor(false); }
  TWaitCursorScope(const TWaitCursorScope&) = delete;
  TWaitCursorScope& operator=(const TWaitCursorScope&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace

TExportSingleChoice ExportSinglePresets(const TExportSingleSettings& stored, int gridSizeMode,
                                        int gridDepth) {
  TExportSingleChoice choice{stored, gridDepth};
  if (gridSizeMode == 16 || gridSizeMode == 32 || gridSizeMode == 48)
    choice.settings.CW = choice.settings.CH = gridSizeMode;
  if (gridDepth != 1 && gridDepth != 4 && gridDepth != 32) choice.itemBpp = 24;
  return choice;
}

bool ExportSingleImage(TfmLib& lib, TExportSingleSettings& stored, int gridSizeMode, int gridDepth,
                       const TAskExportSingle& ask) {
  TExportSingleChoice choice = ExportSinglePresets(stored, gridSizeMode, gridDepth);
  std::optional<TFileDialogAnswer> file;
  for (int round = 0; round < kMaxDialogRounds && !file; ++round) {
    std::optional<TExportSingleChoice> confirmed = ask(choice);
    if (!confirmed) return false;
    choice = *confirmed;
    file = lib.UI().ChooseFileToSave(
        {"Save sheet", kSheetSaveFilter, 1, choice.settings.Dir, "", "", false, true});
    if (file && file->files.empty()) file.reset();
  }
  if (!file) return false;
  choice.settings.Dir = FolderOf(file->files[0]);
  stored = choice.settings;
  TSheetJob job{choice.settings, choice.itemBpp, file->files[0],
                FilterExtension(kSheetSaveFilter, file->filterIndex), IconsToExport(lib)};
  TSheetResult result;
  {
    TWaitCursorScope waiting(lib.UI());
    result = WriteSheets(job);
  }
  std::string message = SheetClosingMessage(result);
  if (!message.empty()) lib.UI().ShowMessage(MakeMessage(TMessageKind::Information, message));
  return result.sheets > 0;
}

}  // namespace varnel

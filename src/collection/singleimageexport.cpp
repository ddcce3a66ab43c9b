#include "collection/singleimageexport.h"

#include "collection/collectiontarget.h"
#include "collection/exportnames.h"
#include "collection/iconsavefile.h"
#include "collection/sheetexport.h"
#include "platform/waitcursorscope.h"

namespace varnel {

namespace {

constexpr int kMaxDialogRounds = 1000;

std::vector<const TAdvancedIcon*> IconsToExport(const TIconList& items) {
  std::vector<const TAdvancedIcon*> all, selected;
  for (int i = 0; i < items.Count(); ++i) {
    all.push_back(items.Icons(i));
    if (items.Icons(i)->Selected) selected.push_back(items.Icons(i));
  }
  return selected.empty() ? all : selected;
}

}  // namespace

TExportSingleChoice ExportSinglePresets(const TExportSingleSettings& stored, int gridSizeMode,
                                        int gridDepth) {
  TExportSingleChoice choice{stored, gridDepth};
  if (gridSizeMode == 16 || gridSizeMode == 32 || gridSizeMode == 48)
    choice.settings.CW = choice.settings.CH = gridSizeMode;
  if (gridDepth != 1 && gridDepth != 4 && gridDepth != 32) choice.itemBpp = 24;
  return choice;
}

bool ExportSingleImage(CollectionTarget& target, TExportSingleSettings& stored, int gridSizeMode,
                       int gridDepth, const TAskExportSingle& ask) {
  TExportSingleChoice choice = ExportSinglePresets(stored, gridSizeMode, gridDepth);
  std::optional<TFileDialogAnswer> file;
  for (int round = 0; round < kMaxDialogRounds && !file; ++round) {
    std::optional<TExportSingleChoice> confirmed = ask(choice);
    if (!confirmed) return false;
    choice = *confirmed;
    file = target.UI().ChooseFileToSave(
        {"Save sheet", kSheetSaveFilter, 1, choice.settings.Dir, "", "", false, true});
    if (file && file->files.empty()) file.reset();
  }
  if (!file) return false;
  choice.settings.Dir = FolderOf(file->files[0]);
  stored = choice.settings;
  TSheetJob job{choice.settings, choice.itemBpp, file->files[0],
                FilterExtension(kSheetSaveFilter, file->filterIndex),
                IconsToExport(target.Items())};
  TSheetResult result;
  {
    WaitCursorScope waiting(target.UI());
    result = WriteSheets(job);
  }
  std::string message = SheetClosingMessage(result);
  if (!message.empty()) target.UI().ShowMessage(MakeMessage(TMessageKind::Information, message));
  return result.sheets > 0;
}

}  // namespace varnel

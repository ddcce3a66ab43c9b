#include "collection/iconfolderexport.h"

#include <filesystem>

#include "base/errors.h"
#include "collection/busyscope.h"
#include "collection/collectiontarget.h"
#include "collection/exportfilewriter.h"
#include "collection/exportnames.h"

namespace varnel {

namespace {

constexpr const char* kFolderPrompt = "Select folder to export icons";

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

}  // namespace

std::string PrepareExportFolder(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (IsFile(folder)) throw Exception("Can`t create directory, because this file found: " + folder);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

TFolderExportResult ExportItemsToFolder(CollectionTarget& target, const std::string& folder,
                                        const TItemFiles& files, TOverwriteChooser& chooser) {
  TBusyScope busy(target, TBusyKind::Plain);
  TFolderExportResult result;
  for (int i = 0; i < target.Count(); ++i) {
    for (const TExportFile& file : files(i)) {
      std::string path = folder + file.name;
      TTargetAction action = chooser.Prepare(path, file.name);
      if (action == TTargetAction::Cancel) {
        result.cancelled = true;
        return result;
      }
      if (action == TTargetAction::Skip) continue;
      target.UI().SetStatusText(0, "Saving: " + path.substr(folder.size()));
      file.write(path);
      ++result.written;
    }
    target.UI().ProcessMessages();
    if (target.StopRequested()) {
      result.cancelled = true;
      break;
    }
  }
  return result;
}

std::vector<TExportFile> IconFileOfItem(const TIconList& items, int index) {
  const TAdvancedIcon* icon = items.Icons(index);
  if (!icon || icon->Images().Count() == 0) return {};
  if (IsCursorIcon(*icon))
    return {{ExportFileName(items.Names(index), "cur"),
             [icon](const std::string& path) { WriteExportedCursor(*icon, path); }}};
  return {{ExportFileName(items.Names(index), "ico"),
           [icon](const std::string& path) { WriteExportedIcon(*icon, path); }}};
}

std::string FolderExportReport(const TFolderExportResult& result, const std::string& folder) {
  std::string count = result.written == 1 ? "1 file" : std::to_string(result.written) + " files";
  std::string where =
      folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
  return (result.cancelled ? "Export stopped: " : "") + count + " written to " + where;
}

void ExportIconsToFolder(CollectionTarget& target, bool all) {
  target.CheckNotBusy();
  std::optional<std::string> chosen = target.UI().ChooseFolder({kFolderPrompt, "", true});
  if (!chosen) return;
  std::string folder = PrepareExportFolder(*chosen);
  TOverwriteChooser chooser(target.UI());
  const TIconList& items = target.Items();
  TFolderExportResult result = ExportItemsToFolder(
      target, folder,
      [&](int index) {
        if (!all && !items.Icons(index)->Selected) return std::vector<TExportFile>{};
        return IconFileOfItem(items, index);
      },
      chooser);
  target.UI().ShowMessage(
      MakeMessage(TMessageKind::Information, FolderExportReport(result, folder)));
}

}  // namespace varnel

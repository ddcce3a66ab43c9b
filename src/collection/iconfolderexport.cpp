#include "collection/iconfolderexport.h"

#include <filesystem>

#include "base/errors.h"
#include "collection/busyscope.h"
#include "collection/exportfilewriter.h"
#include "collection/exportnames.h"
#include "collection/fmlib.h"

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

TFolderExportResult ExportItemsToFolder(TfmLib& lib, const std::string& folder,
                                        const TItemFiles& files, TOverwriteChooser& chooser) {
  TBusyScope busy(lib, TBusyKind::Plain);
  TFolderExportResult result;
  for (int i = 0; i < lib.Count(); ++i) {
    for (const TExportFile& file : files(i)) {
      std::string path = folder + file.name;
      TTargetAction action = chooser.Prepare(path, file.name);
      if (action == TTargetAction::Cancel) {
        result.cancelled = true;
        return result;
      }
      if (action == TTargetAction::Skip) continue;
      lib.UI().SetStatusText(0, "Saving: " + path.substr(folder.size()));
      file.write(path);
      ++result.written;
    }
    lib.UI().ProcessMessages();
    if (lib.Terminated) {
      result.cancelled = true;
      break;
    }
  }
  return result;
}

std::vector<TExportFile> IconFileOfItem(const TfmLib& lib, int index) {
  const TAdvancedIcon* icon = lib.Items().Icons(index);
  if (!icon || icon->Images().Count() == 0) return {};
  if (IsCursorIcon(*icon))
    return {{ExportFileName(lib.Items().Names(index), "cur"),
             [icon](const std::string& path) { WriteExportedCursor(*icon, path); }}};
  return {{ExportFileName(lib.Items().Names(index), "ico"),
           [icon](const std::string& path) { WriteExportedIcon(*icon, path); }}};
}

std::string FolderExportReport(const TFolderExportResult& result, const std::string& folder) {
  std::string count = result.written == 1 ? "1 file" : std::to_string(result.written) + " files";
  std::string where =
      folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
  return (result.cancelled ? "Export stopped: " : "") + count + " written to " + where;
}

void ExportIconsToFolder(TfmLib& lib, bool all) {
  lib.CheckNotBusy();
  std::optional<std::string> chosen = lib.UI().ChooseFolder({kFolderPrompt, "", true});
  if (!chosen) return;
  std::string folder = PrepareExportFolder(*chosen);
  TOverwriteChooser chooser(lib.UI());
  TFolderExportResult result = ExportItemsToFolder(
      lib, folder,
      [&](int index) {
        if (!all && !lib.IsSelected(index)) return std::vector<TExportFile>{};
        return IconFileOfItem(lib, index);
      },
      chooser);
  lib.UI().ShowMessage(MakeMessage(TMessageKind::Information, FolderExportReport(result, folder)));
}

}  // namespace varnel

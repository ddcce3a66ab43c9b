#include "app/importcommands.h"

#include <algorithm>
#include <filesystem>

#include "collection/fileimport.h"
#include "collection/fmlib.h"
#include "search/foldersearch.h"

namespace varnel {
namespace {

// More files than this get the progress window.
constexpr size_t kQuietImportFiles = 10;

bool SkippedByExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  for (const char* skipped : {".swp", ".txt", ".doc", ".xls", ".ini", ".dat", ".da0", ".lnk"})
    if (extension == skipped) return true;
  return false;
}

void ImportOne(TfmLib& lib, const std::string& file, std::vector<std::string>& errors) {
  lib.SetModified(true);
  lib.UI().SetStatusText(0, file);
  lib.UI().ProcessMessages();
  if (lib.UI().ProgressShown()) {
    std::filesystem::path path(file);
    lib.UI().SetProgressField(TProgressField::Path, path.parent_path().string());
    lib.UI().SetProgressField(TProgressField::File, path.filename().string());
    lib.UI().SetProgressField(TProgressField::Count, std::to_string(lib.Count()));
  }
  ImportFile(lib, file, &errors, 0, false);
}

bool StopRequested(TfmLib& lib) {
  if (lib.UI().ProgressShown() && lib.UI().ProgressFlags().stopRequested) lib.Terminated = true;
  return lib.Terminated;
}

}  // namespace

void ImportFiles(TfmLib& lib, const std::string& initialFolder) {
  lib.CheckNotBusy();
  lib.ApplySizeToAll = false;
  TFileDialogRequest request;
  request.title = "Import Files";
  request.filter = kImportFilter;
  request.initialFolder = initialFolder;
  request.multiSelect = true;
  std::optional<TFileDialogAnswer> answer = lib.UI().ChooseFilesToOpen(request);
  if (!answer) return;
  if (answer->files.size() <= kQuietImportFiles)
    lib.BeginBusy();
  else
    lib.BeginLongOperation();
  std::vector<std::string> errors;
  try {
    for (const std::string& file : answer->files) {
      ImportOne(lib, file, errors);
      if (StopRequested(lib)) break;
    }
  } catch (...) {
    lib.EndLongOperation();
    throw;
  }
  lib.EndLongOperation();
  if (!errors.empty()) lib.UI().ShowErrorList(errors);
  lib.ApplySizeToAll = false;
}

std::vector<std::string> ImportDroppedItems(TfmLib& lib, const std::vector<std::string>& paths) {
  lib.CheckNotBusy();
  lib.BeginQuietBusy();
  std::vector<std::string> errors;
  try {
    for (const std::string& path : paths) {
      std::error_code error;
      if (std::filesystem::is_directory(path, error)) {
        SearchFolderTree(lib, path, lib.Settings().IconMask, true);
      } else if (std::filesystem::exists(path, error) && !SkippedByExtension(path)) {
        ImportOne(lib, path, errors);
      }
      lib.UI().ProcessMessages();
      if (lib.Terminated) break;
    }
  } catch (...) {
    lib.EndQuietBusy();
    throw;
  }
  lib.EndQuietBusy();
  return errors;
}

}  // namespace varnel

#include "search/droppeditems.h"

#include <filesystem>

#include "collection/busyscope.h"
#include "collection/fileimport.h"
#include "collection/fmlib.h"
#include "search/foldersearch.h"

namespace varnel {

void ImportDroppedItems(TfmLib& lib, const std::vector<std::string>& paths,
                        std::vector<std::string>& errors) {
  lib.CheckNotBusy();
  {
    TBusyScope busy(lib, TBusyKind::Quiet);
    ImportSession session;
    for (const std::string& path : paths) {
      std::error_code error;
      if (std::filesystem::is_directory(path, error)) {
        SearchFolderTree(lib, path, lib.Settings().IconMask, true);
      } else if (std::filesystem::exists(path, error) && !IsSkippedExtension(path)) {
        lib.UI().SetStatusText(0, path);
        lib.UI().ProcessMessages();
        ImportFile(lib, session, path, &errors);
      }
      lib.UI().ProcessMessages();
      if (lib.Terminated) break;
    }
  }
}

}  // namespace varnel

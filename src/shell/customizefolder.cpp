// The command line's folder customisation on the Linux desktop.

#include <filesystem>

#include "base/errors.h"
#include "shell/foldericon.h"
#include "shell/linuxfoldericons.h"

namespace varnel {

std::vector<std::string> CustomizeFolderOnDesktop(const std::string& folder,
                                                  const std::optional<IconLocation>& icon,
                                                  bool copyIcon) {
  namespace fs = std::filesystem;
  const std::unique_ptr<FileMetadata> metadata = MakeGioFileMetadata();
  LinuxFolderIcons system(TMountTable::Current(), *metadata);
  LinuxShellRefresh shell;
  FolderIconPage page(system, shell);
  const FolderIconShown shown = page.SetFolder(fs::absolute(folder).lexically_normal().string());
  if (!shown.refusal.empty()) throw Exception(shown.refusal);
  if (icon) {
    page.SetPendingLocation({fs::absolute(icon->file).string(), icon->index});
  } else {
    page.SetDefault();
  }
  page.SetCopyIconIntoFolder(copyIcon);
  return page.Apply();
}

}  // namespace varnel

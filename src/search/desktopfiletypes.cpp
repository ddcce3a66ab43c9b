#include "search/desktopfiletypes.h"

#include "platform/desktopicontheme.h"

namespace varnel {

DesktopFileTypes::DesktopFileTypes(SharedMimeInfo mimeInfo, IconThemeLookup themeLookup)
    : mimeInfo_(std::move(mimeInfo)), themeLookup_(std::move(themeLookup)) {}

DesktopFileTypes DesktopFileTypes::FromEnvironment() {
  return DesktopFileTypes(
      SharedMimeInfo::FromDataFolders(),
      IconThemeLookup(IconThemeLookup::DefaultIconFolders(), CurrentIconThemeName()));
}

std::vector<FileTypeIcon> DesktopFileTypes::Icons() {
  std::vector<FileTypeIcon> icons;
  for (const MimeExtension& entry : mimeInfo_.Extensions()) {
    std::string file = themeLookup_.Find(mimeInfo_.IconNames(entry.mimeType));
    if (!file.empty())
      icons.push_back({entry.extension, std::move(file), "0", AssociatedIconFile::Picture});
  }
  return icons;
}

}  // namespace varnel

#pragma once
// File-type registrations of the Linux desktop: every extension of the MIME database with the
// file of its type's icon in the current icon theme.

#include "platform/iconthemelookup.h"
#include "platform/sharedmimeinfo.h"
#include "search/filetyperegistrations.h"

namespace varnel {

class DesktopFileTypes : public FileTypeRegistrations {
 public:
  DesktopFileTypes(SharedMimeInfo mimeInfo, IconThemeLookup themeLookup);
  // The database of the data folders and the desktop's current icon theme.
  static DesktopFileTypes FromEnvironment();

  // In the database's order; extensions whose type has no icon file are left out. Each icon
  // file is a picture.
  std::vector<FileTypeIcon> Icons() override;

 private:
  SharedMimeInfo mimeInfo_;
  IconThemeLookup themeLookup_;
};

}  // namespace varnel

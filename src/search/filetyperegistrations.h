#pragma once
// The system's file-type registrations as far as the associated-icon search needs them: for
// each registered extension, the file that holds its icon and which icon of that file it is.

#include <string>
#include <vector>

namespace varnel {

// How the icon file of a registration is read.
enum class AssociatedIconFile {
  Indexed,  // a module, icon or other file whose icon is chosen by the index text
  Picture,  // a picture file (PNG, SVG) giving one icon
};

struct FileTypeIcon {
  std::string name;       // the extension without its "."
  std::string file;       // the icon file
  std::string indexText;  // which icon of the file: a number, or "-" and a name
  AssociatedIconFile kind = AssociatedIconFile::Indexed;
};

class FileTypeRegistrations {
 public:
  virtual ~FileTypeRegistrations() = default;
  // Every extension that names an icon file; files may be missing.
  virtual std::vector<FileTypeIcon> Icons() = 0;
};

}  // namespace varnel

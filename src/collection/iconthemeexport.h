#pragma once
// Writing a collection as a freedesktop icon theme: NAME/index.theme and one PNG picture per
// size of each icon in NAME/SIZExSIZE/CONTEXT/, with the SVG an icon was drawn from in
// NAME/scalable/CONTEXT/.

#include <functional>
#include <string>

#include "collection/collection.h"

namespace varnel {

struct IconThemeOptions {
  std::string name;              // the theme's folder and its Name
  std::string context = "apps";  // the folder of every icon inside each size folder
  bool overwrite = false;        // write into a theme folder that has files already
  // The items written; every item when empty.
  std::function<bool(int index)> includes;
};

struct IconThemeReport {
  std::string folder;  // the theme's folder
  int icons = 0;       // icons written (empty ones are passed by)
  int pictures = 0;    // PNG pictures written
  int drawings = 0;    // SVG drawings written
};

// An icon name as icon lookup takes it: lower case letters, digits, "_", "." and "-" ("-" for
// anything else, runs of them as one), "icon" when nothing is left.
std::string IconLookupName(const std::string& name);

// Writes the theme into parent/options.name. Raises an Exception that says what is wrong for an
// invalid theme name or context, a theme folder that has files (without overwrite), a
// collection without images, and a file that cannot be written.
IconThemeReport WriteIconTheme(const TCollection& collection, const std::string& parent,
                               const IconThemeOptions& options);

}  // namespace varnel

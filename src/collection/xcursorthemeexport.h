#pragma once
// Writing a collection as an X cursor theme: NAME/index.theme and one X cursor file per cursor
// in NAME/cursors/, every image size with its hot spot; the frames of an animated cursor file
// become one animated X cursor.

#include <functional>
#include <string>

#include "collection/collection.h"

namespace varnel {

struct XCursorThemeOptions {
  std::string name;        // the theme's folder and its Name
  bool overwrite = false;  // write into a theme folder that has files already
  // The items written; every item when empty.
  std::function<bool(int index)> includes;
};

struct XCursorThemeReport {
  std::string folder;
  int cursors = 0;         // X cursor files written
  int animated = 0;        // of them, animated ones
  int withoutHotSpot = 0;  // icons written with the hot spot (0, 0)
};

// Writes the theme into parent/options.name. Raises an Exception that says what is wrong for an
// invalid theme name, a theme folder that has files (without overwrite), a collection without
// images and a file that cannot be written; ELibraryMissing without libXcursor.
XCursorThemeReport WriteXCursorTheme(const TCollection& collection, const std::string& parent,
                                     const XCursorThemeOptions& options);

}  // namespace varnel

#pragma once
// Writing the files a web site takes its icons from: favicon.ico, the touch icon, the web app
// manifest's pictures and the manifest, and favicon.svg when the icon came from a drawing.

#include <string>
#include <vector>

#include "graphics/color.h"
#include "icons/advancedicon.h"

namespace varnel {

struct FaviconOptions {
  TColor background = clWhite;  // behind the touch icon, which must be opaque
  bool overwrite = false;       // replace files of the set that exist already
};

struct FaviconReport {
  std::vector<std::string> files;  // the names written, in the order written
  bool drawing = false;            // favicon.svg is among them
};

// Writes the set into folder from icon, whose drawing is read from source when that is an SVG.
// Raises an Exception that says what is wrong for an empty icon, a file of the set that exists
// (without overwrite) and a file that cannot be written.
FaviconReport WriteFaviconSet(const TAdvancedIcon& icon, const std::string& source,
                              const std::string& folder, const FaviconOptions& options);

// The HTML lines that link a page to the set.
std::string FaviconLinks(const FaviconReport& report);

}  // namespace varnel

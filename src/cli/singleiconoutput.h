#pragma once
// Output files that hold one icon (the icon save table's formats that take the whole icon: an
// icon or cursor file, a Mac icon family, an icon project, an X pixmap or X bitmap of its best
// image): the import writes the first icon it found to them.

#include <string>

#include "cli/clisession.h"

namespace varnel::cli {

// True for output names whose extension (any letter case) is such a format.
bool IsSingleIconOutput(const std::string& output);
// Writes the first icon of the session's collection (X pixmaps and bitmaps take its image that
// suits 256 pixels at 32 bits best).
void SaveFirstIcon(const CliSession& session, const std::string& output);

}  // namespace varnel::cli

#pragma once
// Output files that hold one icon (an icon or cursor file, a Mac icon family, an icon project)
// or one picture (an X pixmap or X bitmap of the icon's best image): the import writes the
// first icon it found to them.

#include <string>

#include "collection/fmlib.h"

namespace varnel::cli {

// True for output names whose extension (any letter case) names a one-icon format.
bool IsSingleIconOutput(const std::string& output);
// Writes the first icon of the collection in the format of output's extension.
void SaveFirstIcon(const TfmLib& lib, const std::string& output);

}  // namespace varnel::cli

#pragma once
// Output files that hold one icon (a Mac icon family, an icon project): the import writes the
// first icon it found to them.

#include <string>

#include "collection/fmlib.h"

namespace varnel::cli {

// True for output names ending in .icns or .icpr (any letter case).
bool IsSingleIconOutput(const std::string& output);
// Writes the first icon of the collection in the format of output's extension.
void SaveFirstIcon(const TfmLib& lib, const std::string& output);

}  // namespace varnel::cli

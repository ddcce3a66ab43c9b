#pragma once
// Picture files as the output of varnel-cli import: the best image of the first icon written as
// an X pixmap or X bitmap.

#include <string>

#include "collection/fmlib.h"

namespace varnel::cli {

// Whether an output name ends in ".xpm" or ".xbm" (any letter case).
bool IsPictureOutput(const std::string& output);

// Writes the first icon's best image (the one chosen for 255 x 255 at any depth) to output, by
// its extension; pixels of alpha below 80 are transparent in an XPM, and an XBM carries the
// image's hot spot when it has one.
void WritePictureOutput(const TfmLib& lib, const std::string& output);

}  // namespace varnel::cli

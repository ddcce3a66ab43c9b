#pragma once
// The output files of the commands that save a collection: the extensions they take and the save
// by extension, with the names a library needs made unique first.

#include <string>

#include "collection/fmlib.h"

namespace varnel::cli {

// The collection outputs (".icc, .icl, .dll or .zip"), with withSingleIcons also the outputs of
// the icon save table that hold one icon (".ico, .cur, ...").
std::string OutputExtensionsText(bool withSingleIcons);

// Whether output's extension (any letter case) is one of the collection outputs.
bool IsCollectionOutput(const std::string& output);

// Gives the icons of the collection names a library can hold, renaming those whose name is
// taken as the "Correct Names" command does, and says so on stderr. The desktop program refuses
// such a save instead and lets the user rename.
void CorrectLibraryNames(TfmLib& lib, const std::string& output);

// Saves the collection by output's extension (a library with unique names, see above).
void SaveCollectionOutput(TfmLib& lib, const std::string& output, bool sixteenBit);

}  // namespace varnel::cli

#pragma once
// The associated-icon search: the icon of every file type the system registers, each named
// after its extension.

#include <string>

#include "search/filetyperegistrations.h"

namespace varnel {

class TIconLibrary;
class CollectionTarget;

// The command "Find Associated" over the desktop's own registrations.
void FindAssociatedIcons(CollectionTarget& lib);
// The search over the given registrations, sorted by name ignoring case: each icon file that
// exists adds its icon, with the progress window's Stop ending the search. Errors of single
// files are collected and shown at the end.
void FindAssociatedIcons(CollectionTarget& lib, FileTypeRegistrations& registrations);

// Appends the icon indexText chooses of the file at path, named name, with the file and the
// icon's index as its source. Modules give their icons; other files are read as an icon file,
// else searched for icons in RIFF chunks. Nothing is appended when the index names no icon.
void AddAssociatedIcon(CollectionTarget& lib, const std::string& path, const std::string& name,
                       const std::string& indexText);
// Appends the picture file at path as one icon named name, with the file as its source. A file
// that is no picture is read as AddAssociatedIcon reads it, taking its first icon.
void AddAssociatedPicture(CollectionTarget& lib, const std::string& path, const std::string& name);

// The position indexText chooses in library: "-" followed by an item name (found ignoring
// case), else a number; -1 for a name or number that is not there or text that is neither.
int AssociatedIconIndex(const TIconLibrary& library, const std::string& indexText);

}  // namespace varnel

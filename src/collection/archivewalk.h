#pragma once
// The loaders' walk through an archive: its volumes joined or opened together, the members that
// may hold icons extracted into the walk's temporary folder, each read as a file of its own
// under the archive's path, and the folder removed again.

#include "collection/filecontents.h"

namespace varnel {

// The options of a file that may be an archive, or a member of one, loaded at depth under
// displayPath (the texts viewed must outlast the read).
FileReadOptions ArchiveReadOptions(CollectionTarget& lib, LoadStyle style,
                                   const std::string& displayPath, int depth, bool allMembers);

// The mask of members a walk reads: the icon mask followed by archives, GIF pictures and names
// beginning with "."; every member ("*.*") when allMembers.
std::string ArchiveMemberMask(std::string_view iconMask, bool allMembers);

// Reads the members of the archive contents.path (kind fkZip or fkRar) into contents.members,
// each named by the archive's display path, "/" and its path inside the archive. What stopped
// the walk early goes to contents.problems; members read before stay.
void ReadArchiveContents(FileContents& contents, const FileReadOptions& options);

}  // namespace varnel

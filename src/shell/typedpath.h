#pragma once
// Paths as the user typed them, with "\" or "/" between the parts and an optional drive letter
// ("D:\Work"), for the folder icon logic that serves both Windows-style and Linux paths.

#include <string>
#include <string_view>
#include <vector>

namespace varnel {

bool IsPathSeparator(char c);
// "D" for "D:\Work", empty for a path without a drive letter.
std::string DriveLetterOf(std::string_view path);
// The non-empty parts after the drive, top down.
std::vector<std::string> PathComponents(std::string_view path);
// True when the path names a folder: a separator or a drive letter in it.
bool HasFolderPart(std::string_view path);
// The separator the path uses: "\" when it holds one or a drive letter, else "/".
char SeparatorOf(std::string_view path);
// folder and name with one separator of the folder's kind between them.
std::string JoinTypedPath(const std::string& folder, const std::string& name);

// The file called name in a local folder, spelled as on disk when it exists in another letter
// case, else as given.
std::string FileInFolderIgnoringCase(const std::string& localFolder, const std::string& name);

}  // namespace varnel

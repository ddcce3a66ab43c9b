#pragma once
// Walking folders for the searches: the files of a folder that match a mask, the first level
// below a root, and whole trees built level by level.

#include <functional>
#include <string>
#include <vector>

namespace varnel {

// True when name matches one of the ";"-separated patterns of mask, ignoring letter case: "*"
// any run of characters, "?" any one character; a pattern ending in ".*" also matches names
// without an extension.
bool MatchesFileMask(const std::string& name, const std::string& mask);

// Files whose extension puts them on the skip list ("txt", "ini", "lnk", ...): never loaded by a
// search, whatever the mask.
bool IsSkippedFile(const std::string& path);

// Every file directly in folder matching mask, hidden ones included, each path once.
std::vector<std::string> ListFilesInFolder(const std::string& folder, const std::string& mask);

// Root (with a trailing "/") followed by each folder directly below it; empty when root does
// not exist. Folders reached through symbolic links are not entered.
std::vector<std::string> ListTopFolders(const std::string& root);

// Start and every folder below it, by depth: start, its children, its grandchildren grouped by
// parent, and so on. Hidden folders (names beginning with ".") below start are not entered; the
// searches reach hidden folders of the first level below their root through ListTopFolders. stopped
// is asked after each folder; the list built so far is returned when it says so. With stayOnDevice,
// folders of other file systems (other disks, /proc, ...) are left out.
std::vector<std::string> BuildFolderTree(const std::string& start,
                                         const std::function<bool()>& stopped,
                                         bool stayOnDevice = false);
// The same folders in the same order, each handed to visit as soon as it is known (before the
// folders below it are looked for), so that work on the first folders begins before the whole
// tree is known. visit returning false ends the walk, and the function then returns false.
bool ForEachFolderInTree(const std::string& start,
                         const std::function<bool(const std::string& folder)>& visit,
                         bool stayOnDevice = false);

// The file system a path lies on; -1 when it cannot be examined.
long long DeviceOf(const std::string& path);

// Mount points of the local block-device file systems, "/" first.
std::vector<std::string> ListFixedDrives();

}  // namespace varnel

#pragma once
// Bringing files into the collection: each file's kind decides its reader, the items it gives are
// named and their sources recorded.

#include <string>
#include <vector>

namespace varnel {

class TAdvancedIcon;
class TDuplicateIndex;
class TfmLib;

// Search-style loading (opening a file, searches, archive members). With silent, errors are
// swallowed; else with an error list they are collected; else raised.
void LoadFile(TfmLib& lib, const std::string& path, const std::string& displayPath = "",
              int depth = 0, bool allMembers = false, bool silent = false,
              std::vector<std::string>* errors = nullptr);

// The same, dropping icons equal to one already present; the index holds the collection's
// items and grows with the items added.
void LoadFileExcludingDuplicates(TfmLib& lib, const std::string& path,
                                 const std::string& displayPath, int depth,
                                 TDuplicateIndex& duplicates, std::vector<std::string>* errors);

// User-chosen and dropped files: every file the readers know gives its icons; a picture becomes
// one icon. Errors go to the list, or are raised without one.
void ImportFile(TfmLib& lib, const std::string& path, std::vector<std::string>* errors,
                int depth = 0, bool allMembers = false);

}  // namespace varnel

namespace varnel {

// The "Import Files..." command: the open dialog, then each chosen file through ImportFile; the
// errors are shown at the end.
void ImportFiles(TfmLib& lib);

// Adds the images of one file to icon: 0 when done, 1 when the size question was cancelled, 2
// when no image was found. index chooses the icon of a library (0 when negative).
int AddImagesFromFile(TfmLib& lib, TAdvancedIcon& icon, const std::string& path, int index);

// Whether a dropped or searched file is one never loaded ("txt", "ini", "lnk", ...).
bool IsSkippedExtension(const std::string& path);

}  // namespace varnel

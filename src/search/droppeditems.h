#pragma once
// Files and folders dropped on the collection window.

#include <string>
#include <vector>

namespace varnel {

class TfmLib;

// Each existing folder is searched with its subfolders using the scan mask; each other file
// (but those on the skip list) is imported. Errors are collected for the caller to show.
void ImportDroppedItems(TfmLib& lib, const std::vector<std::string>& paths,
                        std::vector<std::string>& errors);

}  // namespace varnel

#pragma once
// The folder, tree and disk searches that fill the collection with the icons of every matching
// file.

#include <string>

namespace varnel {

class CollectionTarget;

// The tree search: root and every folder below it. Nested: run inside another busy operation
// (dropped folders) without a busy state or progress window of its own.
void SearchFolderTree(CollectionTarget& lib, const std::string& root, std::string mask,
                      bool nested);
// One folder without its subfolders.
void SearchFolder(CollectionTarget& lib, const std::string& folder, std::string mask);
// Every fixed local disk.
void SearchLocalDisks(CollectionTarget& lib);

// The commands: ask with their dialogs, store the answers in the settings, then search.
void FindInFolder(CollectionTarget& lib);
void FindOnLocalDisks(CollectionTarget& lib);

// The folder of path, or its nearest existing parent (at most 19 steps up); empty when none.
std::string NearestExistingFolder(const std::string& path);

}  // namespace varnel

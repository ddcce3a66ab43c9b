#pragma once
// Icons of the collection written as files of a folder: the folder checks, the loop over the
// items with the overwrite questions, the stop button and the busy state.

#include <functional>
#include <string>
#include <vector>

#include "collection/overwritechooser.h"

namespace varnel {

class CollectionTarget;
class TIconList;

// One file an item is written as: its name in the folder and the writer of that path.
struct TExportFile {
  std::string name;
  std::function<void(const std::string& path)> write;
};
// The files of item index (none to leave the item out).
using TItemFiles = std::function<std::vector<TExportFile>(int index)>;

struct TFolderExportResult {
  int written = 0;
  bool cancelled = false;  // "Cancel" in the overwrite dialog or the stop button
};

// The chosen folder without a trailing separator (a root keeps it) checked not to be a file
// ("Can`t create directory, because this file found: NAME"), then with the separator.
std::string PrepareExportFolder(std::string folder);

// Writes the files of every item in collection order in the busy state; each existing file goes
// through chooser; status panel 0 shows "Saving: NAME". Ends at a cancel, at the stop button or
// at a writer's error (raised; files written so far stay).
TFolderExportResult ExportItemsToFolder(CollectionTarget& target, const std::string& folder,
                                        const TItemFiles& files, TOverwriteChooser& chooser);

// The file of an item named after it: a cursor file for an item with hot spots (they would be
// lost in an icon file), else an icon file; none for items without images.
std::vector<TExportFile> IconFileOfItem(const TIconList& items, int index);

// What an export into folder did: "3 files written to FOLDER", begun with "Export stopped: "
// when it was cancelled or stopped.
std::string FolderExportReport(const TFolderExportResult& result, const std::string& folder);

// The collection window's "All Icons to Folder" (all) and "Selected Icons to Folder".
void ExportIconsToFolder(CollectionTarget& target, bool all);

}  // namespace varnel

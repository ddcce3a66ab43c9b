#include "app/commandset.h"

#include <algorithm>

namespace varnel {

const std::vector<TCommandInfo>& CommandTable() {
  static const std::vector<TCommandInfo> table = {
      // File menu.
      {"aFileNewLib", "Clear", "Clear|Empties the icon collection", "Ctrl+L", 102, 11},
      {"aFileOpen", "&Open", "Open|Opens a file", "Ctrl+O", 103, 12},
      {"aFileSave", "&Save", "Save|Saves current file", "Ctrl+S", 105, 13},
      {"aFileSaveAs", "Save &as...", "Save as|Saves current file with different name",
       "Shift+Ctrl+S", 106},
      {"aFileSaveIconAs", "Save &Icon as...", "Save Icon as|Saves current icon in different file",
       "F2", 107, 14},
      {"mnExportImage", "&Current Image...", "", "", 108},
      {"mnExportIconBitmaps", "&Bitmaps to Folder...", "", "", 109},
      {"mnExportIconIcons", "&Icons to Folder...", "", "", 110},
      {"mnExportAllIcons", "&All Icons to Folder...", "Export all icons|Saves all icons to folder",
       "", 111},
      {"mnExportSelectedIcons", "&Selected Icons to Folder...",
       "Export selected icons|Saves selected icons to folder", "", 112},
      {"mnExportSingleImage", "Single &Image...",
       "Export into single image|Saves selected items into single image", "", 113},
      {"mnExportIconTheme", "Icon &Theme...",
       "Export as icon theme|Saves the selected icons, or all, as a desktop icon theme", "", 0},
      {"mnExportCursorTheme", "C&ursor Theme...",
       "Export as cursor theme|Saves the selected cursors, or all, as an X cursor theme", "", 0},
      {"mnExportFavicons", "&Favicon Set...",
       "Export as favicon set|Saves the current icon as the icons of a web site", "", 0},
      {"aFileExit", "E&xit", "Exit|Exits the application", "", 115},
      // Edit menu.
      {"aEditCut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", "Ctrl+X", 123,
       31},
      {"aEditCopy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
       "Ctrl+C;Ctrl+Ins", 124, 32},
      {"aEditPaste", "&Paste", "Paste|Inserts Clipboard contents", "Ctrl+V;Shift+Ins", 125, 33},
      {"aEditErase", "&Erase", "Erase|Erases the selection", "Del", 126, 34},
      {"aEditSelectAll", "Select &All", "Select All|Selects all items", "Ctrl+A", 127},
      {"mnEditTerminate", "Terminate", "Stop|Terminates searches", "Esc", 0},
      // Icons menu.
      {"aLibAddFiles", "&Import Files...", "Import files|Imports files into collection", "", 141,
       21},
      {"aLibAddFolder", "Find in &Folder...",
       "Find in folder|Finds icons in a folder including subfolders", "", 143, 22},
      {"aLibAddSubFolders", "Find on &All Local Disks",
       "Find on all hard disks|Finds icons on all hard disks", "", 0, 23},
      {"aLibFindInet", "Find on the Internet", "Find on the Internet|Finds icons on the internet",
       "", 0, 24},
      {"alibDownload", "Download...", "Scan an Internet link|Scans an Internet link for icons", "",
       0, 25},
      {"mnLibAddAssotiated", "Find Associated", "Finds associated icons", "", 144, 26},
      {"aLibRename", "&Rename...", "Rename icon|Renames the selected icon", "", 147},
      {"aLibCreateCopy", "&Duplicate", "Duplicate|Duplicates the icon", "", 148},
      {"mnLibSplitIcon", "Sp&lit Icon(s)", "Split the selection to subicons", "", 149},
      {"mnLibCombineIcons", "Com&bine Icons", "Combines the selection into one icon", "", 150},
      {"mnLibCheckNames", "C&orrect Names", "Corrects icon names in the collection", "", 151},
      {"aLibDelDupes", "Delete Duplicates",
       "Kill dupes|Deletes identical icons from the collection", "", 152, 27},
      {"mnLibFindSimilar", "Find Similar Icons",
       "Find similar icons|Selects the icons that show the current icon's picture", "", 0},
      {"mnLibMergeSimilar", "Merge Similar Sizes",
       "Merge similar sizes|Merges icons that are one picture at other sizes into one icon", "", 0},
      {"mnLibSorteName", "by &Name", "Sorts icons alphabetically by name", "", 154},
      {"mnLibSorteNameAsNumber", "by Name &as Number", "Sorts icons by name as number", "", 155},
      {"mnLibSortCount", "by Image &Count", "Sorts icons by image count", "", 156},
      {"mnLibSortSize", "by Image &Size", "Sorts icons by image size", "", 157},
      {"mnLibSortBPP", "by Color &Depth", "Sorts icons by color depth", "", 158},
      {"bySource1", "by Source Name", "", "", 0},
      {"mnLibSortBack", "&Backward", "Reverses order of icons", "", 159},
      {"mnLibLocatebyName", "by Name", "Find icon by name in the collection", "Ctrl+F", 0},
      {"mnLibLocatebySourceName", "by Source Name",
       "Find icon by source file name in the collection", "", 0},
      {"aFileProps", "Properties...", "Icon properties|Shows the icon properties", "", 0, 41},
      // View menu.
      {"aDisplayIcon16", "&16x16", "16x16|Displays icons using 16x16 format", "", 244, kOffToolbar,
       kCheckable},
      {"aDisplayIcon32", "&32x32", "", "", 245, kOffToolbar, kCheckable},
      {"aDisplayIcon48", "&48x48", "", "", 246, kOffToolbar, kCheckable},
      {"aDisplayIconCustom", "C&ustom Size", "Custom size|Displays icons using custom size", "",
       247, kOffToolbar, kCheckable},
      {"aDisplayIconWinSize", "&Windows sizes",
       "Windows sizes|Displays icons using Windows small and large sizes", "", 248, kOffToolbar,
       kCheckable},
      {"mnViewIconSizeCustomSet", "Set Custom Size...", "Sets custom icon size", "", 0},
      {"aDisplayIcon1bpp", "&Monochrome", "", "", 249, kOffToolbar, kCheckable},
      {"aDisplayIcon4BPP", "16 Colors", "", "", 250, kOffToolbar, kCheckable},
      {"aDisplayIcon16BPP", "256 or True Color",
       "256 or True Color|Displays icons using 256 or 24-bit True Color format", "", 251,
       kOffToolbar, kCheckable},
      {"aDisplayIcon32bpp", "True Color (32 bit)", "", "", 252, kOffToolbar, kCheckable},
      {"aDisplayIconCaptions", "Icon &Captions", "Icon names|Displays icon names", "", 253,
       kOffToolbar, kCheckable},
      {"aDisplayIconFormats", "Icon &Formats", "Icon formats|Displays icon formats", "", 254,
       kOffToolbar, kCheckable},
      {"aDisplayIconExact", "&Exact Formats", "Exact formats|Displays exact image formats only", "",
       255, kOffToolbar, kCheckable},
      {"aDisplayProportionally", "Store Proportions",
       "Store image proportions|Displays images proportionally", "", 0, kOffToolbar, kCheckable},
      {"aDisplayEnlarge", "Enlarge Small Images",
       "Enlarge small images|Displays small images with zoom", "", 0, kOffToolbar, kCheckable},
      {"mnDisplayDefaultView", "Default View Settings", "Restores default icon view settings", "",
       0},
      {"mnDisplayStandardToolbar", "&Toolbar", "", "", 282, kOffToolbar, kCheckable},
      {"mnDisplayStatusbar", "Status &Bar", "", "", 285, kOffToolbar, kCheckable},
      {"aDisplayCustWin", "Customize Windows...",
       "Customize Windows icons|Customizes Windows icons", "", 241, 42},
      {"Fileassociations1", "&File Associations...",
       "Set file associations|Sets file associations (shell integration)", "", 291},
      {"mnOptions", "O&ptions...", "Changes the program configuration", "", 290},
      {"btLibView", "Customize Library View...",
       "Customize icons view|Customizes icon library view", "", 0},
      // Help menu.
      {"aHelpContents", "&Contents", "Help contents|Displays the help contents", "F1", 301},
      {"aHelpHomePage", "Tamberly Site", "Tamberly on the Web|Opens Tamberly web site", "", 302},
      {"mnProgramHomePage", "Varnel &Home Page", "Visits this program home page", "", 303},
      {"mnHelpReadyIcons", "Stock Icons", "Shows a lot of stock icons", "", 0},
      {"mnHelpFeedback", "Feedback", "Visits feedback page", "", 0},
      {"aHelpAbout", "&About...", "About|Displays program information", "", 305},
  };
  return table;
}

std::vector<const char*> ToolbarCommands() {
  std::vector<const TCommandInfo*> placed;
  for (const TCommandInfo& command : CommandTable())
    if (command.toolbar != kOffToolbar) placed.push_back(&command);
  std::stable_sort(placed.begin(), placed.end(),
                   [](const auto* a, const auto* b) { return a->toolbar < b->toolbar; });
  std::vector<const char*> names;
  for (size_t i = 0; i < placed.size(); ++i) {
    names.push_back(placed[i]->name);
    bool groupEnds =
        i + 1 == placed.size() || placed[i + 1]->toolbar / 10 != placed[i]->toolbar / 10;
    if (groupEnds) names.push_back("");
  }
  return names;
}

std::string_view HintTooltip(std::string_view hint) {
  return hint.substr(0, hint.find('|'));
}

std::string_view HintStatusText(std::string_view hint) {
  size_t bar = hint.find('|');
  return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

}  // namespace varnel

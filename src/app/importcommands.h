#pragma once
// The import commands of the window: "Import Files..." and files dropped on the window.

#include <string>
#include <vector>

namespace varnel {

class TfmLib;

inline constexpr const char* kImportFilter =
    "Icon files (*.ico;*.dll;*.exe;*.icl;*.icc;*.nil;*.cur;*.ani...)|*.exe;*.dll;*.ico;*.cpl;*.icl;"
    "*.nil;*.ocx;*.vbx;*.il;*.cur;*.ani;*.icc|Libraries "
    "(*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx)|"
    "*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx;*.il;*.res;*.dcr|Icon collections (*.icc)|*.icc|"
    "Icons (*.ico)|*.ico|Images (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.wmf)|*.bmp;*.jpg;*.jpeg;*.png;"
    "*.gif;*.wmf;*.emf;*.psd;*.pdd;*.wbmp;*.dcr|Cursors (*.cur;*.ani)|*.cur;*.ani|Zip and Rar "
    "archives (*.zip;*.rar)|*.zip;*.rar|All files (*.*)|*.*";

// Asks for files and imports each; the errors are shown in the error list window.
void ImportFiles(TfmLib& lib, const std::string& initialFolder);

// Imports dropped files (files of a few document kinds are skipped) and searches dropped
// folders with their subfolders; the errors, for the caller to show.
std::vector<std::string> ImportDroppedItems(TfmLib& lib, const std::vector<std::string>& paths);

}  // namespace varnel

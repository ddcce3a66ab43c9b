#pragma once
// Saving one icon, or one image of it, under a name the icon save dialog gives: the dialog's
// remembered name, the completion of the typed name with the filter's extension, the overwrite
// question, and the writer chosen by extension.

#include <optional>
#include <string>

namespace varnel {

class TAdvancedIcon;
class TSubIcon;
class UserInterface;
struct TSettings;

// The icon save dialog's memory between uses: its last file name (which holds the last folder)
// and its filter.
struct TIconSaveDialog {
  std::string fileName;
  int filterIndex = 1;
};

// The extension of the filter's pattern number index (from 1) with "*." removed, in lower case.
std::string FilterExtension(const std::string& filter, int index);

// A trailing "." removed, then "." + extension appended unless the name already ends with
// exactly that extension (letter case ignored).
std::string CompleteFileName(std::string name, const std::string& extension);

// Writes by extension. Without image the icon's first image is taken; without icon an icon
// holding only image. The background of formats without transparency follows the image's
// depth. False (and fileName emptied) when a question was cancelled or the extension has no
// format; fileName is the completed name otherwise.
bool SaveIconFile(UserInterface& ui, const TSettings& settings, const TAdvancedIcon* icon,
                  const TSubIcon* image, const std::string& extension, std::string& fileName);

// The name and extension the user confirmed in the icon save dialog, proposing proposedName;
// an existing file of the completed name is only taken after "Yes" to the overwrite question
// ("No" shows the dialog again). Nothing when cancelled.
struct TChosenSaveName {
  std::string fileName;  // completed with the extension
  std::string extension;
};
std::optional<TChosenSaveName> AskIconSaveName(UserInterface& ui, TIconSaveDialog& dialog,
                                               const std::string& title,
                                               const std::string& proposedName);

// The dialog flow of Save Icon As, Save Frame and the properties' Save image: asks, writes, and
// remembers the written name without extension. True when a file was written.
bool SaveIconWithDialog(UserInterface& ui, const TSettings& settings, TIconSaveDialog& dialog,
                        const std::string& title, const std::string& proposedName,
                        const TAdvancedIcon* icon, const TSubIcon* image);

// The names the dialog proposes: the folder of its last name and the icon's name, for Save
// Frame followed by the image's row in the image panel ("Disk" row 0 gives "Disk0").
std::string ProposedIconName(const TIconSaveDialog& dialog, const std::string& iconName);
std::string ProposedFrameName(const TIconSaveDialog& dialog, const std::string& iconName, int row);

}  // namespace varnel

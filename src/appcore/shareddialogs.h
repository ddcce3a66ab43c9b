#pragma once
// The small dialogs many commands share: the confirmation dialog with its "do not prompt"
// check box, the error list window and the folder browser.

#include <optional>
#include <string>
#include <vector>

namespace varnel {

class UserInterface;

// Shows "Confirmation" (or "Information" for the information variant) with the text, "OK" and
// "Cancel", and the check box "&Do not prompt in the future" while promptFlag is set. Returns
// true for "OK"; then promptFlag becomes the opposite of the check box. "Cancel" leaves it.
bool ConfirmDialog(UserInterface& ui, const std::string& text, bool& promptFlag,
                   bool information = false);

// Shows the error list window ("Errors") with the lines; nothing is shown for no lines.
void ShowErrors(UserInterface& ui, const std::vector<std::string>& lines);

// The folder selection dialog with an explanatory text and a start folder; the chosen folder,
// or nothing when cancelled.
std::optional<std::string> BrowseForFolder(UserInterface& ui, const std::string& text,
                                           const std::string& startFolder);

}  // namespace varnel

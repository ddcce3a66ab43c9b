#pragma once
// Menu translation files: "Language/<name>.mnu" beside the program. The first line names the
// language; every further line reads key "=" caption, optionally "|" and hint. Keys are the
// positive numbers of the menu items (100 and above take part).

#include <map>
#include <string>
#include <vector>

class QMenuBar;

namespace varnel {

struct TMenuText {
  std::string caption;
  std::string hint;  // "tooltip|status text", or one text for both
};

// The keyed texts of a translation file's contents (blanks around the parts trimmed; a line
// without "|" gives an empty hint; lines with keys below 100 or without "=" are skipped).
std::map<int, TMenuText> ParseMenuTranslation(const std::string& contents);

// A file's contents: the language's name with its first letter in upper case, then one line
// per item in the given order.
std::string FormatMenuTranslation(const std::string& language,
                                  const std::vector<std::pair<int, TMenuText>>& items);

// Applies the translation named by language to the menus (nothing when the file is missing).
// "english" writes the built-in texts to "english.mnu" first when that file is missing.
// Returns the setting's new value: empty for "english", else unchanged.
std::string ApplyMenuTranslation(QMenuBar& menus, const std::string& languageFolder,
                                 const std::string& language);

}  // namespace varnel

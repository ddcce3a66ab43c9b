#pragma once
// File names of exported icons: reserved device names, the name an icon is written under and
// names made unique by their trailing number.

#include <set>
#include <string>
#include <string_view>

namespace varnel {

// "aux", "con", "prn", "nul", and "com" or "lpt" followed by one digit 1 to 9, in any case.
bool IsReservedDeviceName(std::string_view base);

// The file name (without folder) an item of the collection is exported under: its name without
// extension, "_" appended to a reserved device name, then "." and extension. A "/" in the name
// becomes "_" so that the file stays in the chosen folder.
std::string ExportFileName(const std::string& itemName, const std::string& extension);

// The path with its base name's trailing number increased (see IncrementName) until no file of
// that name exists and the base name is not a reserved device name.
std::string UniqueFileName(const std::string& path);

// Names made unique within one save or export, ignoring case (the files often end up where case
// does not count): a name made before gets " (2)", " (3)", ... before its extension.
class UniqueNames {
 public:
  // Numbered forms are "stem (2)", "stem (3)", ... by default; before and after change the
  // text around the number ("-" and "" give "stem-2").
  explicit UniqueNames(std::string before = " (", std::string after = ")")
      : before_(std::move(before)), after_(std::move(after)) {}
  // stem + extension, or the first of its numbered forms not made before; it counts as made.
  std::string Make(const std::string& stem, const std::string& extension);
  // The same for a path: the number goes before the extension of its file name.
  std::string MakePath(const std::string& path);

 private:
  std::string before_;
  std::string after_;
  std::set<std::string> used_;
};

// The folder part of a path with its trailing separator ("" when there is none).
std::string FolderOf(const std::string& path);
// The path without its extension (the last "." after the last separator and what follows).
std::string WithoutExtension(const std::string& path);
// The extension of a path, without the dot and in lower case; "" when there is none.
std::string LowerExtension(const std::string& path);

}  // namespace varnel

#pragma once
// varnel-cli export's forms that write one set of files from all the icons of the inputs: an
// icon theme (--theme) and a favicon set (--favicon).

#include <string>
#include <vector>

namespace varnel::cli {

// Whether the export's arguments ask for one of these forms.
bool IsThemeExport(const std::vector<std::string>& args);

// Runs the export and gives its exit status.
int RunThemeExport(const std::vector<std::string>& args);

// The options of these forms, for the command's synopsis.
inline constexpr const char* kThemeExportSynopsis =
    "export FILE... -o DIR --theme NAME [--context apps] [--overwrite]; "
    "export FILE... -o DIR --xcursor-theme NAME [--overwrite]; "
    "export FILE -o DIR --favicon [--background COLOR] [--overwrite]";

}  // namespace varnel::cli

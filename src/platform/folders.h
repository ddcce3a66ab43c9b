#pragma once
// The folders the program keeps its files in. Paths use "/" and carry no trailing "/".

#include <string>

namespace varnel {

// The folder of the running executable; "." when it cannot be found.
std::string ProgramFolder();

// The folder of the program's data files (picture strips, translations, help): the program
// folder when it holds them (a build tree or a copy run in place), else "share/varnel" beside
// the program's "bin" folder (an installed program).
std::string DataFolder();
// The same rule for a program living in programFolder.
std::string DataFolderFor(const std::string& programFolder);

// The per-user configuration folder: $XDG_CONFIG_HOME when it is set to an absolute path,
// else $HOME/.config; empty when neither is known.
std::string UserConfigFolder();

// Works out the settings folder afresh: "Tamberly/Varnel" below the per-user configuration
// folder, created with all missing parents; the program folder when that cannot be made.
std::string ComputeSettingsFolder();

// The settings folder, computed at the first call and kept for the rest of the run.
std::string SettingsFolder();

// "config.ini" in the settings folder.
std::string SettingsFileName();

// $TMPDIR when it names a folder, else "/tmp".
std::string TempFolder();

// The name after the last "/" of a path.
std::string ExtractFileName(const std::string& path);

// Joins a folder and a name with one "/" between them.
std::string PathJoin(const std::string& folder, const std::string& name);

}  // namespace varnel

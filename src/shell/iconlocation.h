#pragma once
// Icon location texts as the shell writes them: a file name, optionally followed by "," and an
// index ("%SystemRoot%\System32\shell32.dll,-137"). A negative index names the icon resource
// whose numeric name is its absolute value.

#include <functional>
#include <memory>
#include <string>

#include "icons/advancedicon.h"
#include "shell/iconlocationtext.h"

namespace varnel {

// The folders names without a drive are looked up in, and the test for a file's existence.
struct LocationFolders {
  std::string windowsFolder;
  std::string systemFolder;
  std::function<bool(const std::string&)> fileExists;
};

// Reads a location text: split as SplitIconLocation does, %WinDir%, %SystemRoot% and
// %SystemDrive% replaced, and a name without a drive looked up in the system folder, then the
// Windows folder.
IconLocation ReadIconLocation(const std::string& text, const LocationFolders& folders);

// The icon a location names: an icon file whole; a picture (an icon theme's PNG or SVG file) as
// its only icon, index 0; any other file through the icon-library reader, taking the icon at the
// index or, for a negative index, the icon whose name is its absolute value. Null when the file
// holds no such icon (or cannot be read).
std::unique_ptr<TAdvancedIcon> LoadLocationIcon(const IconLocation& location);

// What the list shows for a location: its icon, else icon 0 of the file, else icon 0 of
// "shell32.dll" in the system folder; null when none of them gives one.
std::unique_ptr<TAdvancedIcon> LocationDisplayIcon(const IconLocation& location,
                                                   const LocationFolders& folders);

// A path in the shell's spelling ("C:\WINDOWS\x.dll") as this system opens it ("/" separators).
std::string HostPath(const std::string& path);

}  // namespace varnel

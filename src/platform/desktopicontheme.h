#pragma once
// The icon theme the user's desktop is set to, as the desktop's own settings name it.

#include <string>

namespace varnel {

// The name of the current icon theme (a folder name below an "icons" folder), in this order:
// the icon theme the user set in the GNOME interface settings, "gtk-icon-theme-name" of
// section "Settings" in gtk-3.0/settings.ini, "Theme" of section "Icons" in kdeglobals (both in
// the user's configuration folder), the GNOME settings' default, and at last "Adwaita".
std::string CurrentIconThemeName();

// The part of CurrentIconThemeName that reads files: the GTK and KDE settings files below
// configFolder; empty when neither names a theme.
std::string IconThemeNameFromConfigFiles(const std::string& configFolder);

}  // namespace varnel

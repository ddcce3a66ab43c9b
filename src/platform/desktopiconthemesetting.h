#pragma once
// The places a Linux desktop keeps the name of its icon theme: GNOME's GSettings key
// org.gnome.desktop.interface icon-theme, GTK's gtk-icon-theme-name in
// $XDG_CONFIG_HOME/gtk-3.0/settings.ini, and KDE's Theme in section Icons of
// $XDG_CONFIG_HOME/kdeglobals.

#include <optional>
#include <string>
#include <vector>

namespace varnel {

enum class TIconThemePlace { Gnome, Gtk, Kde };

std::vector<TIconThemePlace> AllIconThemePlaces();
// "gnome", "gtk", "kde": the name a record of the place is kept under.
std::string IconThemePlaceName(TIconThemePlace place);

// Where the place keeps the name, for the user: the GSettings key, or the file, section and key.
std::string IconThemePlaceLocation(TIconThemePlace place);

// True when the place can be used here: GNOME when gsettings knows the key, GTK always, KDE when
// kdeglobals exists or the session is a KDE one.
bool IconThemePlaceInUse(TIconThemePlace place);

// The theme named there; nothing when the place names none (or cannot be read).
std::optional<std::string> ReadIconThemeSetting(TIconThemePlace place);

// The theme the user set there: for GNOME nothing while the key holds the schema's default, so
// that putting back what was found resets the key instead of setting the default's name.
std::optional<std::string> ReadIconThemeUserSetting(TIconThemePlace place);

// Writes the name there; nothing removes it (GNOME: resets the key). False when the place could
// not be written.
bool WriteIconThemeSetting(TIconThemePlace place, const std::optional<std::string>& name);

}  // namespace varnel

#pragma once
// GNOME's icon theme setting, org.gnome.desktop.interface icon-theme, read through GSettings.

#include <string>

namespace varnel {

struct GnomeIconTheme {
  std::string userValue;     // set by the user; empty while the key holds its default
  std::string defaultValue;  // the value in effect: the user's, else the schema's default
};

// Reads the setting without aborting when the schema is not installed (GSettings aborts the
// process on an unknown schema, so the schema is looked up first).
GnomeIconTheme ReadGnomeIconTheme();

// The schema's default for the key (what a reset gives); empty when the schema is not installed.
// Read from the schema alone: unlike the values, it cannot change while the program runs.
std::string GnomeIconThemeSchemaDefault();

}  // namespace varnel

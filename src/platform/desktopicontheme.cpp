#include "platform/desktopicontheme.h"

#include "platform/folders.h"
#include "platform/gnomeicontheme.h"
#include "platform/inifile.h"

namespace varnel {
namespace {

constexpr const char* kFallbackTheme = "Adwaita";

}  // namespace

std::string IconThemeNameFromConfigFiles(const std::string& configFolder) {
  if (configFolder.empty()) return {};
  TIniFile gtk(PathJoin(configFolder, "gtk-3.0/settings.ini"));
  std::string name = gtk.ReadString("Settings", "gtk-icon-theme-name", "");
  if (!name.empty()) return name;
  TIniFile kde(PathJoin(configFolder, "kdeglobals"));
  return kde.ReadString("Icons", "Theme", "");
}

std::string CurrentIconThemeName() {
  GnomeIconTheme gnome = ReadGnomeIconTheme();
  if (!gnome.userValue.empty()) return gnome.userValue;
  std::string fromFiles = IconThemeNameFromConfigFiles(UserConfigFolder());
  if (!fromFiles.empty()) return fromFiles;
  if (!gnome.defaultValue.empty()) return gnome.defaultValue;
  return kFallbackTheme;
}

}  // namespace varnel

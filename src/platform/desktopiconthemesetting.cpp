#include "platform/desktopiconthemesetting.h"

#include <cstdlib>
#include <filesystem>

#include "platform/externalprogram.h"
#include "platform/folders.h"
#include "platform/gnomeicontheme.h"
#include "platform/inifile.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr const char* kGnomeSchema = "org.gnome.desktop.interface";
constexpr const char* kGnomeKey = "icon-theme";

struct IniPlace {
  std::string file;
  std::string section;
  std::string key;
};

IniPlace IniPlaceOf(TIconThemePlace place) {
  std::string config = UserConfigFolder();
  if (place == TIconThemePlace::Gtk)
    return {PathJoin(config, "gtk-3.0/settings.ini"), "Settings", "gtk-icon-theme-name"};
  return {PathJoin(config, "kdeglobals"), "Icons", "Theme"};
}

// gsettings prints strings quoted: 'Adwaita'.
std::string Unquote(std::string text) {
  text = Trim(text);
  if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'')
    text = text.substr(1, text.size() - 2);
  return text;
}

std::optional<std::string> ReadGnome() {
  auto output = RunProgramOutput({"gsettings", "get", kGnomeSchema, kGnomeKey});
  if (!output) return std::nullopt;
  return Unquote(*output);
}

bool WriteGnome(const std::optional<std::string>& name) {
  if (name)
    return RunProgramOutput({"gsettings", "set", kGnomeSchema, kGnomeKey, *name}).has_value();
  return RunProgramOutput({"gsettings", "reset", kGnomeSchema, kGnomeKey}).has_value();
}

bool IsKdeSession() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return desktop && LowerCase(desktop).find("kde") != std::string::npos;
}

}  // namespace

std::vector<TIconThemePlace> AllIconThemePlaces() {
  return {TIconThemePlace::Gnome, TIconThemePlace::Gtk, TIconThemePlace::Kde};
}

std::string IconThemePlaceName(TIconThemePlace place) {
  switch (place) {
    case TIconThemePlace::Gnome:
      return "gnome";
    case TIconThemePlace::Gtk:
      return "gtk";
    case TIconThemePlace::Kde:
      return "kde";
  }
  return "";
}

std::string IconThemePlaceLocation(TIconThemePlace place) {
  if (place == TIconThemePlace::Gnome)
    return std::string("the GSettings key ") + kGnomeSchema + " " + kGnomeKey;
  IniPlace ini = IniPlaceOf(place);
  return ini.key + " in section [" + ini.section + "] of " + ini.file;
}

bool IconThemePlaceInUse(TIconThemePlace place) {
  switch (place) {
    case TIconThemePlace::Gnome:
      return !FindProgramOnPath("gsettings").empty() && ReadGnome().has_value();
    case TIconThemePlace::Gtk:
      return !UserConfigFolder().empty();
    case TIconThemePlace::Kde:
      return IsKdeSession() || std::filesystem::exists(IniPlaceOf(place).file);
  }
  return false;
}

std::optional<std::string> ReadIconThemeSetting(TIconThemePlace place) {
  if (place == TIconThemePlace::Gnome) return ReadGnome();
  IniPlace ini = IniPlaceOf(place);
  TIniFile file(ini.file);
  if (!file.ValueExists(ini.section, ini.key)) return std::nullopt;
  return file.ReadString(ini.section, ini.key, "");
}

std::optional<std::string> ReadIconThemeUserSetting(TIconThemePlace place) {
  std::optional<std::string> name = ReadIconThemeSetting(place);
  // A key holding its default is taken as never set: this process's view of the GSettings
  // values may lag behind what gsettings wrote, while the schema's default cannot.
  if (place == TIconThemePlace::Gnome && name == GnomeIconThemeSchemaDefault()) return std::nullopt;
  return name;
}

bool WriteIconThemeSetting(TIconThemePlace place, const std::optional<std::string>& name) {
  if (place == TIconThemePlace::Gnome) return WriteGnome(name);
  IniPlace ini = IniPlaceOf(place);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(ini.file).parent_path(), error);
  try {
    TIniFile file(ini.file);
    if (name) {
      file.WriteString(ini.section, ini.key, *name);
    } else {
      file.DeleteKey(ini.section, ini.key);
      if (file.ReadSectionKeys(ini.section).empty()) file.EraseSection(ini.section);
    }
    if (Trim(file.Text()).empty()) return std::filesystem::remove(ini.file, error) || !error;
    file.UpdateFile();
    return true;
  } catch (const EIniFileError&) {
    return false;
  }
}

}  // namespace varnel

#include "platform/desktopicontheme.h"

#include <gio/gio.h>

#include "platform/folders.h"
#include "platform/inifile.h"

namespace varnel {
namespace {

constexpr const char* kInterfaceSchema = "org.gnome.desktop.interface";
constexpr const char* kIconThemeKey = "icon-theme";
constexpr const char* kFallbackTheme = "Adwaita";

// Frees a GLib object at the end of a scope.
template <typename T>
struct GObjectReference {
  T* object = nullptr;
  ~GObjectReference() {
    if (object) g_object_unref(object);
  }
};

struct GnomeIconTheme {
  std::string userValue;     // set by the user; empty when the key holds its default
  std::string defaultValue;  // the schema's (or the distribution's) default
};

// Reads the GNOME setting without aborting when the schema is not installed: g_settings_new
// aborts the process on an unknown schema, so the schema is looked up first.
GnomeIconTheme ReadGnomeIconTheme() {
  GnomeIconTheme theme;
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (!source) return theme;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, kInterfaceSchema, TRUE);
  if (!schema) return theme;
  bool hasKey = g_settings_schema_has_key(schema, kIconThemeKey);
  g_settings_schema_unref(schema);
  if (!hasKey) return theme;

  GObjectReference<GSettings> settings{g_settings_new(kInterfaceSchema)};
  if (GVariant* user = g_settings_get_user_value(settings.object, kIconThemeKey)) {
    if (g_variant_is_of_type(user, G_VARIANT_TYPE_STRING))
      theme.userValue = g_variant_get_string(user, nullptr);
    g_variant_unref(user);
  }
  gchar* value = g_settings_get_string(settings.object, kIconThemeKey);
  if (value) theme.defaultValue = value;
  g_free(value);
  return theme;
}

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

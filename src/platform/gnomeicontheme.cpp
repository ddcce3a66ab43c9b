#include "platform/gnomeicontheme.h"

#include <gio/gio.h>

#include "graphics/glibfunctions.h"

namespace varnel {
namespace {

constexpr const char* kInterfaceSchema = "org.gnome.desktop.interface";
constexpr const char* kIconThemeKey = "icon-theme";

// GIO is loaded when the setting is first read.
struct SettingsFunctions {
  DynamicLibrary library{"libgio-2.0.so.0", "libglib2.0-0"};
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_source_get_default);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_source_lookup);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_has_key);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_get_key);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_unref);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_key_get_default_value);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_schema_key_unref);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_new);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_get_user_value);
  VARNEL_LIBRARY_FUNCTION(library, g_settings_get_string);
};

// Null when GIO cannot be loaded: the setting then reads as if its schema were not installed.
const SettingsFunctions* Settings() {
  try {
    static const SettingsFunctions functions;
    return &functions;
  } catch (const ELibraryMissing&) {
    return nullptr;
  }
}

// The text a string variant holds; empty for a variant of another type.
std::string StringOf(GVariant* value) {
  const GLibFunctions& glib = GLib();
  if (!glib.g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) return "";
  return glib.g_variant_get_string(value, nullptr);
}

// The installed interface schema when it has the key; null otherwise. Unreferenced by the caller.
GSettingsSchema* IconThemeSchema(const SettingsFunctions& gio) {
  GSettingsSchemaSource* source = gio.g_settings_schema_source_get_default();
  if (!source) return nullptr;
  GSettingsSchema* schema = gio.g_settings_schema_source_lookup(source, kInterfaceSchema, TRUE);
  if (schema && !gio.g_settings_schema_has_key(schema, kIconThemeKey)) {
    gio.g_settings_schema_unref(schema);
    return nullptr;
  }
  return schema;
}

bool SchemaHasIconThemeKey(const SettingsFunctions& gio) {
  GSettingsSchema* schema = IconThemeSchema(gio);
  if (schema) gio.g_settings_schema_unref(schema);
  return schema != nullptr;
}

}  // namespace

GnomeIconTheme ReadGnomeIconTheme() {
  GnomeIconTheme theme;
  const SettingsFunctions* gio = Settings();
  if (!gio || !SchemaHasIconThemeKey(*gio)) return theme;
  GObjectPtr<GSettings> settings(gio->g_settings_new(kInterfaceSchema));
  if (GVariant* user = gio->g_settings_get_user_value(settings.get(), kIconThemeKey)) {
    theme.userValue = StringOf(user);
    GLib().g_variant_unref(user);
  }
  GTextPtr value(gio->g_settings_get_string(settings.get(), kIconThemeKey));
  if (value) theme.defaultValue = value.get();
  return theme;
}

std::string GnomeIconThemeSchemaDefault() {
  const SettingsFunctions* gio = Settings();
  GSettingsSchema* schema = gio ? IconThemeSchema(*gio) : nullptr;
  if (!schema) return "";
  GSettingsSchemaKey* key = gio->g_settings_schema_get_key(schema, kIconThemeKey);
  GVariant* value = gio->g_settings_schema_key_get_default_value(key);
  std::string text;
  if (value) text = StringOf(value);
  if (value) GLib().g_variant_unref(value);
  gio->g_settings_schema_key_unref(key);
  gio->g_settings_schema_unref(schema);
  return text;
}

}  // namespace varnel

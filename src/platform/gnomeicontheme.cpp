#include "platform/gnomeicontheme.h"

#include <gio/gio.h>

namespace varnel {
namespace {

constexpr const char* kInterfaceSchema = "org.gnome.desktop.interface";
constexpr const char* kIconThemeKey = "icon-theme";

// Frees a GLib object at the end of a scope.
template <typename T>
struct GObjectReference {
  T* object = nullptr;
  ~GObjectReference() {
    if (object) g_object_unref(object);
  }
};

// The installed interface schema when it has the key; null otherwise. Unreferenced by the caller.
GSettingsSchema* IconThemeSchema() {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (!source) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, kInterfaceSchema, TRUE);
  if (schema && !g_settings_schema_has_key(schema, kIconThemeKey)) {
    g_settings_schema_unref(schema);
    return nullptr;
  }
  return schema;
}

bool SchemaHasIconThemeKey() {
  GSettingsSchema* schema = IconThemeSchema();
  if (schema) g_settings_schema_unref(schema);
  return schema != nullptr;
}

}  // namespace

GnomeIconTheme ReadGnomeIconTheme() {
  GnomeIconTheme theme;
  if (!SchemaHasIconThemeKey()) return theme;
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

std::string GnomeIconThemeSchemaDefault() {
  GSettingsSchema* schema = IconThemeSchema();
  if (!schema) return "";
  GSettingsSchemaKey* key = g_settings_schema_get_key(schema, kIconThemeKey);
  GVariant* value = g_settings_schema_key_get_default_value(key);
  std::string text;
  if (value && g_variant_is_of_type(value, G_VARIANT_TYPE_STRING))
    text = g_variant_get_string(value, nullptr);
  if (value) g_variant_unref(value);
  g_settings_schema_key_unref(key);
  g_settings_schema_unref(schema);
  return text;
}

}  // namespace varnel

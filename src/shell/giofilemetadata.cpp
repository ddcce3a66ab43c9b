// GIO's "metadata::" attributes, written through the gvfs metadata daemon.

#include <gio/gio.h>

#include <memory>

#include "shell/linuxfoldericons.h"

namespace varnel {

namespace {

const char* const kCustomIcon = "metadata::custom-icon";

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
struct GErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};
struct GFreeText {
  void operator()(char* text) const { g_free(text); }
};
using FileHandle = std::unique_ptr<GFile, GObjectUnref>;

// True when the file's "metadata" namespace can be written, which needs the metadata daemon.
bool MetadataWritable(GFile* file) {
  GFileAttributeInfoList* namespaces = g_file_query_writable_namespaces(file, nullptr, nullptr);
  if (!namespaces) return false;
  const bool writable = g_file_attribute_info_list_lookup(namespaces, "metadata") != nullptr;
  g_file_attribute_info_list_unref(namespaces);
  return writable;
}

std::string Skipped(const std::string& folder, const std::string& reason) {
  return "GNOME's folder icon (" + std::string(kCustomIcon) + ") of " + folder +
         " skipped: " + reason;
}

class GioFileMetadata : public FileMetadata {
 public:
  std::string SetCustomIcon(const std::string& folder, const std::string& iconFile) override {
    FileHandle icon(g_file_new_for_path(iconFile.c_str()));
    const std::unique_ptr<char, GFreeText> uri(g_file_get_uri(icon.get()));
    return SetAttribute(folder, G_FILE_ATTRIBUTE_TYPE_STRING, uri.get());
  }

  std::string RemoveCustomIcon(const std::string& folder) override {
    return SetAttribute(folder, G_FILE_ATTRIBUTE_TYPE_INVALID, nullptr);
  }

 private:
  static std::string SetAttribute(const std::string& folder, GFileAttributeType type,
                                  gpointer value) {
    FileHandle file(g_file_new_for_path(folder.c_str()));
    if (!MetadataWritable(file.get()))
      return Skipped(folder, "the GIO metadata service (gvfs) is not running");
    GError* rawError = nullptr;
    g_file_set_attribute(file.get(), kCustomIcon, type, value, G_FILE_QUERY_INFO_NONE, nullptr,
                         &rawError);
    const std::unique_ptr<GError, GErrorFree> error(rawError);
    return error ? Skipped(folder, error->message) : std::string();
  }
};

}  // namespace

std::unique_ptr<FileMetadata> MakeGioFileMetadata() {
  return std::make_unique<GioFileMetadata>();
}

}  // namespace varnel

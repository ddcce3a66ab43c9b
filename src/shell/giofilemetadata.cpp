// GIO's "metadata::" attributes, written through the gvfs metadata daemon.

#include <gio/gio.h>

#include <memory>

#include "graphics/glibfunctions.h"
#include "shell/linuxfoldericons.h"

namespace varnel {

namespace {

const char* const kCustomIcon = "metadata::custom-icon";

// GIO is loaded when a folder's icon is first set or removed.
struct FileFunctions {
  DynamicLibrary library{"libgio-2.0.so.0", "libglib2.0-0"};
  VARNEL_LIBRARY_FUNCTION(library, g_file_new_for_path);
  VARNEL_LIBRARY_FUNCTION(library, g_file_get_uri);
  VARNEL_LIBRARY_FUNCTION(library, g_file_query_writable_namespaces);
  VARNEL_LIBRARY_FUNCTION(library, g_file_attribute_info_list_lookup);
  VARNEL_LIBRARY_FUNCTION(library, g_file_attribute_info_list_unref);
  VARNEL_LIBRARY_FUNCTION(library, g_file_set_attribute);
};

constexpr auto Gio = &LoadedFunctions<FileFunctions>;

using FileHandle = GObjectPtr<GFile>;

// True when the file's "metadata" namespace can be written, which needs the metadata daemon.
bool MetadataWritable(GFile* file) {
  GFileAttributeInfoList* namespaces =
      Gio().g_file_query_writable_namespaces(file, nullptr, nullptr);
  if (!namespaces) return false;
  const bool writable = Gio().g_file_attribute_info_list_lookup(namespaces, "metadata") != nullptr;
  Gio().g_file_attribute_info_list_unref(namespaces);
  return writable;
}

std::string Skipped(const std::string& folder, const std::string& reason) {
  return "GNOME's folder icon (" + std::string(kCustomIcon) + ") of " + folder +
         " skipped: " + reason;
}

class GioFileMetadata : public FileMetadata {
 public:
  std::string SetCustomIcon(const std::string& folder, const std::string& iconFile) override {
    return WithGio(folder, [&] {
      FileHandle icon(Gio().g_file_new_for_path(iconFile.c_str()));
      const GTextPtr uri(Gio().g_file_get_uri(icon.get()));
      return SetAttribute(folder, G_FILE_ATTRIBUTE_TYPE_STRING, uri.get());
    });
  }

  std::string RemoveCustomIcon(const std::string& folder) override {
    return WithGio(folder,
                   [&] { return SetAttribute(folder, G_FILE_ATTRIBUTE_TYPE_INVALID, nullptr); });
  }

 private:
  // Without GIO the icon is skipped like one the metadata service cannot take.
  template <typename Work>
  static std::string WithGio(const std::string& folder, Work work) {
    try {
      return work();
    } catch (const ELibraryMissing& missing) {
      return Skipped(folder, missing.what());
    }
  }

  static std::string SetAttribute(const std::string& folder, GFileAttributeType type,
                                  gpointer value) {
    FileHandle file(Gio().g_file_new_for_path(folder.c_str()));
    if (!MetadataWritable(file.get()))
      return Skipped(folder, "the GIO metadata service (gvfs) is not running");
    GErrorHolder error;
    Gio().g_file_set_attribute(file.get(), kCustomIcon, type, value, G_FILE_QUERY_INFO_NONE,
                               nullptr, error.Out());
    return error.Failed() ? Skipped(folder, error.Message()) : std::string();
  }
};

}  // namespace

std::unique_ptr<FileMetadata> MakeGioFileMetadata() {
  return std::make_unique<GioFileMetadata>();
}

}  // namespace varnel

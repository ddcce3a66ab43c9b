#pragma once
// The GLib and GObject functions the users of GLib-based libraries share (librsvg, Poppler,
// GIO), loaded with the first of them, and the scopes that release what those libraries return.

#include <glib-object.h>

#include <memory>

#include "base/dynamiclibrary.h"

namespace varnel {

struct GLibFunctions {
  DynamicLibrary glib{"libglib-2.0.so.0", "libglib2.0-0"};
  DynamicLibrary gobject{"libgobject-2.0.so.0", "libglib2.0-0"};
  VARNEL_LIBRARY_FUNCTION(glib, g_free);
  VARNEL_LIBRARY_FUNCTION(glib, g_error_free);
  VARNEL_LIBRARY_FUNCTION(glib, g_bytes_new_static);
  VARNEL_LIBRARY_FUNCTION(glib, g_bytes_unref);
  VARNEL_LIBRARY_FUNCTION(glib, g_variant_is_of_type);
  VARNEL_LIBRARY_FUNCTION(glib, g_variant_get_string);
  VARNEL_LIBRARY_FUNCTION(glib, g_variant_unref);
  VARNEL_LIBRARY_FUNCTION(gobject, g_object_unref);
};

// Loaded on the first call; raises ELibraryMissing when GLib is not installed.
const GLibFunctions& GLib();

struct GObjectRelease {
  void operator()(gpointer object) const { GLib().g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectRelease>;

struct GTextRelease {
  void operator()(char* text) const { GLib().g_free(text); }
};
using GTextPtr = std::unique_ptr<char, GTextRelease>;

// Takes a GError's ownership so that it is freed on every path.
class GErrorHolder {
 public:
  GErrorHolder() = default;
  GErrorHolder(const GErrorHolder&) = delete;
  GErrorHolder& operator=(const GErrorHolder&) = delete;
  ~GErrorHolder() {
    if (error_) GLib().g_error_free(error_);
  }
  GError** Out() { return &error_; }
  bool Failed() const { return error_ != nullptr; }
  const char* Message() const { return error_ ? error_->message : ""; }

 private:
  GError* error_ = nullptr;
};

}  // namespace varnel

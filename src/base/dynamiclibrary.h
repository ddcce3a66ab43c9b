#pragma once
// A shared library opened when a file first needs it, rather than linked into every program:
// the programs start without the heavy libraries, and a library that is not installed costs
// only the formats that need it.
//
// A user keeps a record of the functions it calls, loaded once:
//
//   struct CairoFunctions {
//     DynamicLibrary library{"libcairo.so.2", "libcairo2"};
//     VARNEL_LIBRARY_FUNCTION(library, cairo_create);
//   };
//
// and calls them through the record (LoadedFunctions<CairoFunctions>().cairo_create(...)); the
// library's header gives each function's type.

#include <string>

#include "base/errors.h"

namespace varnel {

// A shared library (or one of its functions) that cannot be loaded. The message names the
// library and the Debian package that installs it.
class ELibraryMissing : public Exception {
 public:
  using Exception::Exception;
};

class DynamicLibrary {
 public:
  // Loads the library by its soname. Raises ELibraryMissing "<soname> cannot be loaded (Debian
  // package <package>): <reason>" when it is not installed or cannot be loaded.
  DynamicLibrary(std::string soname, std::string package);
  // The library stays loaded for the rest of the process: the type systems of GLib libraries
  // cannot be unloaded.
  ~DynamicLibrary() = default;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // The library's function of that name as a pointer of type FunctionPointer. Raises
  // ELibraryMissing when the library has no such function (an older version).
  template <typename FunctionPointer>
  FunctionPointer Function(const char* name) const {
    return reinterpret_cast<FunctionPointer>(Address(name));
  }

  const std::string& Soname() const { return soname_; }

 private:
  void* Address(const char* name) const;
  [[noreturn]] void Fail(const std::string& reason) const;

  std::string soname_;
  std::string package_;
  void* handle_ = nullptr;
};

// The one record of type Functions, made (its libraries loaded) on the first call. When a
// library cannot be loaded the call raises ELibraryMissing, and the next call tries again.
template <typename Functions>
const Functions& LoadedFunctions() {
  static const Functions functions;
  return functions;
}

}  // namespace varnel

// A member of a functions record: the pointer to the library's function of that name, typed by
// its declaration in the library's header and loaded when the record is made.
#define VARNEL_LIBRARY_FUNCTION(library, function) \
  decltype(&::function) function = (library).Function<decltype(&::function)>(#function)

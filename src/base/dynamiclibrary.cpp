#include "base/dynamiclibrary.h"

#include <dlfcn.h>

namespace varnel {

namespace {

std::string LastLoaderError() {
  const char* reason = dlerror();
  return reason ? reason : "unknown reason";
}

}  // namespace

DynamicLibrary::DynamicLibrary(std::string soname, std::string package)
    : soname_(std::move(soname)), package_(std::move(package)) {
  handle_ = dlopen(soname_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) Fail(LastLoaderError());
}

void* DynamicLibrary::Address(const char* name) const {
  dlerror();
  void* address = dlsym(handle_, name);
  if (!address) Fail("it has no function " + std::string(name));
  return address;
}

void DynamicLibrary::Fail(const std::string& reason) const {
  throw ELibraryMissing(soname_ + " cannot be loaded (Debian package " + package_ + "): " + reason);
}

}  // namespace varnel

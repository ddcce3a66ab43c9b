#pragma once
// Writing edited images into a module by overwriting each image's old bytes where they lie in
// the file. Every other byte stays as it was, so 16-bit and 32-bit modules alike survive, but
// no image may change its size.

#include <string>

#include "resources/iconlibrary.h"
#include "resources/iconupdateresult.h"

namespace varnel {

// The images of library (loaded from fileName, icons and images neither added, removed nor
// reordered) written over their old bytes. Refuses, writing nothing, when the icon counts, an
// icon's image count or an image's byte size differ from the file's. An image whose old bytes
// occur several times goes where reloading the patched bytes shows it in its own place; one
// whose old bytes are not found stays as it was. A PE image gets a fresh checksum when it had
// one and loses its certificate table. Raises the errors of reading and writing the file.
IconUpdateResult PatchIconsInPlace(const std::string& fileName, const TIconLibrary& library);

}  // namespace varnel

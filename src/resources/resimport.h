#pragma once
// Import of the icons and bitmaps of resource files: 32-bit .res and .dcr files, and 16-bit .dcr
// files whose first resource is a bitmap.

#include <span>
#include <string>

#include "resources/iconlist.h"

namespace varnel {

// Appends the icons of a .res or .dcr file to the list. Files shorter than 76 bytes and files of
// other kinds add nothing; a damaged 16-bit .dcr raises Exception with the reason.
void ImportResourceFile(const std::string& fileName, TIconList& library);
void ImportResourceBytes(std::span<const uint8_t> bytes, TIconList& library);

// Whether the bytes begin like a 32-bit resource file (its empty first entry) or a 16-bit one.
bool LooksLikeResourceFile(std::span<const uint8_t> bytes);

}  // namespace varnel

#pragma once
// The 32-bit ICL library: a resource-only PE image holding, in language 1033, one icon group
// (RT_GROUP_ICON, named by the icon) per icon with images, its images as icon resources
// (RT_ICON) numbered 1, 2, 3, ... in list order, and the names table as resource 301/1. A cursor
// becomes a cursor group (RT_GROUP_CURSOR) whose images are cursor resources (RT_CURSOR, numbered
// apart from the icon images) holding their hotspots.

#include <string>
#include <vector>

#include "resources/iconlist.h"
#include "resources/pefile.h"

namespace varnel {

constexpr uint32_t kIclLanguage = 1033;
constexpr const char* kIclNamesTableType = "301";
// Group entries number images with 16 bits.
constexpr int kMaxIcl32Images = 65535;

// Fills an empty module with the library's resources (names are not checked for uniqueness);
// raises EICLReadError for more images than group entries can number.
void BuildIcl32Module(const TIconList& icons, TPEResourceModule& module);
std::vector<uint8_t> BuildIcl32Image(const TIconList& icons);
// Writes the library through a temporary file that replaces fileName only when complete.
void WriteIcl32File(const TIconList& icons, const std::string& fileName);

}  // namespace varnel

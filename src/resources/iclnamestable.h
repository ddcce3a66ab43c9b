#pragma once
// The names table of an icon library: the byte 3 and "ICL", then one length byte and the bytes
// of each icon's name in list order, then a zero byte. Both library kinds store it.

#include <cstdint>
#include <string>
#include <vector>

#include "resources/iconlist.h"

namespace varnel {

// The most bytes of a name the one-byte length can describe.
constexpr size_t kMaxLibraryNameBytes = 255;

// The name as the table stores it: at most 255 bytes, cut at a character boundary.
std::string LibraryNameBytes(const std::string& name);

std::vector<uint8_t> BuildIclNamesTable(const TIconList& icons);

}  // namespace varnel

#pragma once
// 8-bit text read from files: kept when it is valid UTF-8, else decoded as Windows-1252.

#include <string>
#include <string_view>

namespace varnel {

bool IsValidUtf8(std::string_view text);

// Decodes Windows-1252 bytes to UTF-8 (the five unassigned bytes map to U+FFFD).
std::string Windows1252ToUtf8(std::string_view text);

// The text of a file's bytes as the program holds it: UTF-8.
std::string TextFromFileBytes(std::string_view bytes);

}  // namespace varnel

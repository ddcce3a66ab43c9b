#pragma once
// The folders icon themes and cursor themes are written into.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace varnel {

// The folder parent/name of a theme about to be written. Raises an Exception for a name that is
// no single folder name ("Invalid <what> name ...") and, without overwrite, for a folder that
// has files already.
std::string ThemeFolder(const std::string& parent, const std::string& name, bool overwrite,
                        const std::string& what);

// Writes the file at path, making its folders first; the file is replaced only when complete.
void WriteThemeFile(const std::string& path, std::span<const uint8_t> bytes);
void WriteThemeFile(const std::string& path, std::string_view text);

}  // namespace varnel

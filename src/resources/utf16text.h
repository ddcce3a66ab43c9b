#pragma once
// Conversion between UTF-16 resource strings and the UTF-8 text used inside the program.

#include <cstdint>
#include <span>
#include <string>

namespace varnel {

// UTF-8 text of unitCount little-endian UTF-16 units; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::span<const uint8_t> bytes, size_t unitCount);
// UTF-16 units of UTF-8 text; malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace varnel

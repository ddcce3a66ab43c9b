#pragma once
// UTF-8 characters one at a time.

#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

// Appends the UTF-8 bytes of code point c.
void AppendUtf8(std::string& out, char32_t c);
// Decodes the character at text[at] into c; returns its length in bytes, 0 when the bytes there
// are no valid UTF-8 (overlong forms and surrogates included).
size_t DecodeUtf8(std::string_view text, size_t at, char32_t& c);

}  // namespace varnel

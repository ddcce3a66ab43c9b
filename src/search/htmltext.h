#pragma once
// Small text operations of the page scan: letter case and character references.

#include <string>
#include <string_view>

namespace varnel {

// ASCII letters folded to lower case; every other byte kept, so positions stay the same.
std::string LowerAscii(std::string_view text);

// Decodes "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and the numeric references "&#N;" and
// "&#xH;" (written as UTF-8; a reference to no character gives U+FFFD). Anything else is kept.
std::string DecodeCharacterReferences(std::string_view text);

}  // namespace varnel

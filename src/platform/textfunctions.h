#pragma once
// Small text helpers shared by the settings, registry and path code.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// Removes blanks and control characters from both ends.
std::string Trim(std::string_view text);
// ASCII lower case; other bytes are left alone.
std::string LowerCase(std::string_view text);
// Equality ignoring ASCII letter case.
bool SameText(std::string_view a, std::string_view b);

// Reads a 32-bit integer the way settings are written: optional blanks, an optional sign, and
// decimal digits, or "$"/"0x" followed by up to 8 hexadecimal digits (taken as 32 bits).
// Anything else, or a decimal value outside the 32-bit range, gives nothing.
std::optional<int32_t> TryParseInteger(std::string_view text);

}  // namespace varnel

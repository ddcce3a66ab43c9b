#pragma once
// Member masks: ";"-separated patterns with the wildcards "*" (any run of characters), "?" (one
// letter, Latin or Cyrillic), "#" (one decimal digit) and "@" (any one character). Names and
// patterns are UTF-8; each wildcard stands for one character whatever its byte length.

#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// Whether name matches pattern; with ignoreCase, Latin and Cyrillic capitals count as their
// small letters.
bool MatchPattern(std::string_view name, std::string_view pattern, bool ignoreCase);

// The patterns of a ";"-separated mask, empty ones dropped.
std::vector<std::string> SplitMask(std::string_view mask);

// Whether name matches any pattern of mask, ignoring case.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace varnel

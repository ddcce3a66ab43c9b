#pragma once
// Letter case beyond ASCII: UTF-8 text folded to lower case character by character, and the
// comparisons of names that ignore case and follow the user's collation.

#include <string>
#include <string_view>

namespace varnel {

// Lower case of every character UTF-8 text holds (bytes that are no valid UTF-8 stay as they are).
std::string FoldCase(std::string_view text);
// Equality ignoring letter case, for every alphabet.
bool SameTextFolded(std::string_view a, std::string_view b);
// Order of two names ignoring letter case, by the collation of the process locale: below,
// equal to or above 0.
int CompareTextFolded(std::string_view a, std::string_view b);

}  // namespace varnel

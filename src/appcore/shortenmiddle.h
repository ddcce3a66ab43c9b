#pragma once
// Shortening long texts (paths in captions and menus) by cutting out their middle.

#include <string>

namespace varnel {

// A text of at most limit characters is returned whole; a longer one becomes its first
// (limit / 2) - 1 characters, "..." and its last limit / 2 characters. Characters are counted
// as UTF-8 code points, so that no character is cut in two.
std::string ShortenMiddle(const std::string& text, int limit);

}  // namespace varnel

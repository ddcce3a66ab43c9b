#pragma once
// The drawing an item was made from: icon themes and favicon sets keep an SVG beside the
// pictures when the icon came from one.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnel {

// The SVG text of the file at path when it is an SVG drawing (a gzip-compressed one inflated,
// up to the largest drawing read); nothing for any other file, a missing one or damaged
// compressed data.
std::optional<std::vector<uint8_t>> SvgSourceOf(const std::string& path);

}  // namespace varnel

#pragma once
// ImageMagick as the oracle of decoded pixels.

#include <cstdint>
#include <string>
#include <vector>

namespace varnel::test {

constexpr char kImageMagickConvert[] = "/usr/bin/convert";

// The RGBA bytes ImageMagick decodes from a file, top row first; empty when it fails.
std::vector<uint8_t> ImageMagickRgba(const std::string& path);

}  // namespace varnel::test

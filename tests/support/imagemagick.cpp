#include "support/imagemagick.h"

#include <cstdio>

namespace varnel::test {

std::vector<uint8_t> ImageMagickRgba(const std::string& path) {
  std::string command =
      std::string(kImageMagickConvert) + " '" + path + "' -set colorspace sRGB -depth 8 rgba:-";
  std::vector<uint8_t> bytes;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return bytes;
  uint8_t buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + count);
  pclose(pipe);
  return bytes;
}

}  // namespace varnel::test

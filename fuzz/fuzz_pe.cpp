// seeds: built/pe
// Decodes arbitrary bytes as a PE image with its resource tree, assembles the icons of its
// groups, then writes it again. The first byte chooses what the rest is: the image itself, the
// resource section of a resource-only image, or the data of an icon group and its image inside
// one, so that the directory walk and the icon assembly are reached without seed images.

#include <cstdint>
#include <span>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/stream.h"
#include "resources/containericons.h"
#include "resources/pefile.h"

namespace {

using namespace varnel;

// A resource-only image whose resource section holds exactly the given bytes.
std::vector<uint8_t> ImageAroundSection(std::span<const uint8_t> section) {
  static const std::vector<uint8_t> headers = [] {
    TPEResourceModule module;
    module.InitializeResourceOnlyImage(".rsrc");
    MemoryStream image;
    module.SaveToStream(image);
    std::vector<uint8_t> bytes = image.TakeBytes();
    bytes.resize(0x200);  // the headers; the section starts here
    return bytes;
  }();
  std::vector<uint8_t> image = headers;
  image.insert(image.end(), section.begin(), section.end());
  size_t sectionHeader = ReadU32LE(&image[60]) + 24 + 224;
  WriteU32LE(&image[sectionHeader + 8], uint32_t(section.size()));
  WriteU32LE(&image[sectionHeader + 16], uint32_t(section.size()));
  return image;
}

// A resource-only image with icon group "1" and icon image "1" holding the two halves of bytes.
std::vector<uint8_t> ImageWithIcon(std::span<const uint8_t> bytes) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  size_t half = bytes.size() / 2;
  module.AddResource(CreateResourceDetails(&module, 1033, "1", "14", bytes.first(half)));
  module.AddResource(CreateResourceDetails(&module, 1033, "1", "3", bytes.subspan(half)));
  MemoryStream image;
  module.SaveToStream(image);
  return image.TakeBytes();
}

void DecodeAndRewrite(std::span<const uint8_t> bytes) {
  TPEResourceModule module;
  try {
    SpanStream in(bytes);
    module.LoadFromStream(in);
  } catch (const Exception&) {
  }
  TIconList icons;
  AppendGroupIcons(module, icons);
  try {
    module.SortResources();
    MemoryStream out;
    module.SaveToStream(out);
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::span<const uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      DecodeAndRewrite(rest);
      break;
    case 1:
      DecodeAndRewrite(ImageAroundSection(rest));
      break;
    case 2:
      DecodeAndRewrite(ImageWithIcon(rest));
      break;
  }
  return 0;
}

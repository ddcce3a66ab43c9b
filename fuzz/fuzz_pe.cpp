// seeds:
// Decodes arbitrary bytes as a PE image with its resource tree, then writes it again. With the
// first byte odd, the remaining bytes become the resource section of a resource-only image, so
// that the directory walk is reached without seed images.

#include <cstdint>
#include <span>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/stream.h"
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

void DecodeAndRewrite(std::span<const uint8_t> bytes) {
  TPEResourceModule module;
  try {
    SpanStream in(bytes);
    module.LoadFromStream(in);
  } catch (const Exception&) {
  }
  for (int i = 0; i < module.ResourceCount(); ++i) module.ResourceDetails(i)->Bytes();
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
  if (data[0] & 1)
    DecodeAndRewrite(ImageAroundSection(rest));
  else
    DecodeAndRewrite(rest);
  return 0;
}

#include "resources/iconcursorresource.h"

#include <algorithm>
#include <cstring>

#include "base/byteorder.h"
#include "graphics/pngcodec.h"
#include "icons/dibheader.h"
#include "resources/iconcursorgroupresource.h"

namespace varnel {

namespace {

constexpr size_t kHotSpotSize = 4;
constexpr int kDefaultSize = 32;
constexpr int kDefaultBits = 4;
constexpr size_t kPngHeaderEnd = 24;  // signature, IHDR length and tag, width, height

bool IsPngData(std::span<const uint8_t> bytes) {
  return bytes.size() >= kPngHeaderEnd && std::memcmp(bytes.data(), kPngSignature, 8) == 0;
}

std::vector<uint8_t> DefaultIconImage() {
  TBitmapInfoHeader header;
  header.biWidth = kDefaultSize;
  header.biHeight = 2 * kDefaultSize;
  header.biBitCount = kDefaultBits;
  header.biClrUsed = 16;
  header.biClrImportant = 16;
  size_t colorBits = kDefaultSize * kDefaultSize * kDefaultBits / 8;
  size_t maskBits = kDefaultSize * kDefaultSize / 8;
  header.biSizeImage = uint32_t(colorBits + maskBits);
  std::vector<uint8_t> image(TBitmapInfoHeader::kSize);
  header.Encode(image.data());
  image.insert(image.end(), SystemPalette16().begin(), SystemPalette16().end());
  image.resize(image.size() + colorBits, 0);
  image.resize(image.size() + maskBits, 0xFF);
  return image;
}

}  // namespace

void TIconCursorResourceDetails::InitNew() {
  std::vector<uint8_t> bytes;
  if (HasHotSpot()) bytes = {1, 0, 1, 0};
  std::vector<uint8_t> image = DefaultIconImage();
  bytes.insert(bytes.end(), image.begin(), image.end());
  Data().Clear();
  Data().WriteBytes(bytes);
}

std::span<const uint8_t> TIconCursorResourceDetails::ImageBytes() const {
  std::span<const uint8_t> bytes = Bytes();
  if (!HasHotSpot()) return bytes;
  return bytes.size() >= kHotSpotSize ? bytes.subspan(kHotSpotSize) : std::span<const uint8_t>();
}

IconImageFacts TIconCursorResourceDetails::Facts() const {
  std::span<const uint8_t> image = ImageBytes();
  IconImageFacts facts;
  if (IsPngData(image)) {
    facts.width = int(std::min<uint32_t>(ReadU32BE(&image[16]), INT32_MAX));
    facts.height = int(std::min<uint32_t>(ReadU32BE(&image[20]), INT32_MAX));
    facts.planes = 1;
    facts.bitCount = 32;
    return facts;
  }
  if (image.size() < TBitmapInfoHeader::kSize) return facts;
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(image.data());
  facts.width = header.biWidth;
  facts.height = header.biHeight / 2;
  facts.planes = header.biPlanes;
  facts.bitCount = header.biBitCount;
  facts.compression = uint16_t(header.biCompression);
  uint64_t colors = header.biClrUsed         ? header.biClrUsed
                    : header.biBitCount < 32 ? (uint64_t(1) << header.biBitCount)
                                             : 0;
  facts.colorCount = (header.biBitCount > 8 || colors >= 256) ? 0 : int(colors);
  return facts;
}

PixelFormat TIconCursorResourceDetails::GetPixelFormat() const {
  IconImageFacts facts = Facts();
  // 16-bit images are 5-5-5 without bit fields and take their masks with them.
  if (facts.bitCount == 16 && facts.compression == 0) return PixelFormat::Bits15;
  if (facts.bitCount == 16 && facts.compression != 3)
    throw EInvalidGraphic("Pixel Format Not Valid for Icons or Cursors");
  PixelFormat format = FormatOfBits(facts.bitCount);
  if (format == PixelFormat::Custom || format == PixelFormat::Bits15)
    throw EInvalidGraphic("Pixel Format Not Valid for Icons or Cursors");
  return format;
}

std::string TIconCursorResourceDetails::GroupType() const {
  int32_t type = ResourceNameToInt(ResourceType());
  return type < 0 ? std::string() : std::to_string(int64_t(type) + 11);
}

void TIconCursorResourceDetails::BeforeDelete() {
  TResourceModule* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ResourceCount(); ++i) {
    auto* group = dynamic_cast<TIconCursorGroupResourceDetails*>(parent->ResourceDetails(i));
    if (group && group->ResourceType() == GroupType() && group->ContainsImage(*this)) {
      group->RemoveImage(*this);  // may delete the group: nothing after this
      return;
    }
  }
}

void TIconCursorResourceDetails::GetImage(TAdvancedIcon& icon) const {
  std::span<const uint8_t> image = ImageBytes();
  IconImageFacts facts = Facts();
  MemoryStream file;
  file.WriteU16(0);
  file.WriteU16(HasHotSpot() ? 2 : 1);
  file.WriteU16(1);
  file.WriteU8(uint8_t(facts.width));
  file.WriteU8(uint8_t(facts.height));
  file.WriteU8(uint8_t(facts.colorCount));
  file.WriteU8(0);
  std::span<const uint8_t> bytes = Bytes();
  bool hotSpot = HasHotSpot() && bytes.size() >= kHotSpotSize;
  file.WriteU16(hotSpot ? ReadU16LE(&bytes[0]) : uint16_t(facts.planes));
  file.WriteU16(hotSpot ? ReadU16LE(&bytes[2]) : uint16_t(facts.bitCount));
  file.WriteU32(uint32_t(image.size()));
  file.WriteU32(22);
  file.WriteBytes(image);
  file.SetPosition(0);
  if (HasHotSpot())
    icon.LoadCursorFromStream(file);
  else
    icon.LoadFromStreamAbsolute(file);
}

void TIconCursorResourceDetails::SetImage(const TSubIcon& image) {
  Data().Clear();
  if (HasHotSpot()) Data().WriteU32(image.HotSpot());
  Data().WriteBytes(image.Data());
}

}  // namespace varnel

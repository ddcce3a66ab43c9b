#include "icons/macresourcefork.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/byteorder.h"

namespace varnel {

namespace {

constexpr uint8_t kAppleDoubleMagic[4] = {0x00, 0x05, 0x16, 0x07};

bool Contains(std::span<const uint8_t> block, std::string_view text) {
  return std::search(block.begin(), block.end(), text.begin(), text.end()) != block.end();
}

class ForkScanner {
 public:
  explicit ForkScanner(ResourceForkIcons& icons) : icons_(icons) {}

  // Decodes a block whose length is one of the icon resources' lengths.
  void TakeResource(std::span<const uint8_t> block) {
    switch (block.size()) {
      case 1024:
        return AddIndexed(block, 32, 32, 8);
      case 512:
        return AddIndexed(block, 32, 32, 4);
      case 256:
        if (seenIconList_) return AddIndexed(block, 16, 16, 8);
        seenIconList_ = true;
        return AddBitIcon(block, 32, 32);
      case 128:
        return AddIndexed(block, 16, 16, 4);
      case 64:
        if (!Contains(block, "TEXT")) AddBitIcon(block, 16, 16);
        return;
      case 2312:
        return AddIndexed(block.first(2304), 48, 48, 8);
    }
  }

 private:
  void AddIndexed(std::span<const uint8_t> data, int width, int height, int depth) {
    icons_.resources.push_back({DecodeMacIndexed(data, width, height, depth), std::nullopt, {}});
  }

  void AddBitIcon(std::span<const uint8_t> data, int width, int height) {
    size_t half = data.size() / 2;
    TBitmap mask = DecodeMacBitMask(data.subspan(half), width, height);
    TBitmap color = DecodeMacIndexed(data.first(half), width, height, 1);
    BlackenMasked(color, mask);
    icons_.bitMasks.push_back(mask);
    icons_.resources.push_back({std::move(color), std::move(mask), {}});
  }

  ResourceForkIcons& icons_;
  bool seenIconList_ = false;
};

bool IsResourceLength(uint32_t length) {
  switch (length) {
    case 1024:
    case 512:
    case 256:
    case 128:
    case 64:
    case 2312:
      return true;
    default:
      return false;
  }
}

}  // namespace

ResourceForkIcons ScanResourceFork(std::span<const uint8_t> file) {
  ResourceForkIcons icons;
  ForkScanner scanner(icons);
  bool appleDouble = file.size() >= 4 && std::memcmp(file.data(), kAppleDoubleMagic, 4) == 0;
  size_t position = appleDouble ? kAppleDoubleScanStart : kResourceForkScanStart;
  while (position < file.size() && file.size() - position >= 4) {
    uint32_t length = ReadU32BE(&file[position]);
    if (length > kMaxResourceBlockLength) {
      position += 4;
      continue;
    }
    std::span<const uint8_t> rest = file.subspan(position + 4);
    if (IsResourceLength(length)) {
      if (rest.size() < length) break;
      scanner.TakeResource(rest.first(length));
    } else if (rest.size() >= 4 && std::memcmp(rest.data(), "icns", 4) == 0) {
      icons.family = ReadIcnsFamily(rest);
      break;
    }
    position += 4 + size_t(length);
  }
  return icons;
}

}  // namespace varnel

#include "icons/macicon.h"

#include <algorithm>
#include <cstring>

#include "base/fileio.h"
#include "icons/macresourcefork.h"

namespace varnel {

namespace {

constexpr int kPackedFrom = 256;

bool SameShape(const TBitmap& a, const TBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.Format() == b.Format();
}

bool SamePixels(const MacIconPicture& a, const MacIconPicture& b) {
  return a.color == b.color && a.mask == b.mask;
}

// Scanning from the last picture back, drops each one an earlier picture repeats.
void DropRepeated(std::vector<MacIconPicture>& pictures) {
  for (size_t i = pictures.size(); i-- > 1;) {
    auto earlier = pictures.begin() + std::ptrdiff_t(i);
    bool repeated = std::any_of(pictures.begin(), earlier, [&](const MacIconPicture& other) {
      return SamePixels(other, pictures[i]);
    });
    if (repeated) pictures.erase(earlier);
  }
}

std::vector<MacIconPicture> ReadResourceFork(std::span<const uint8_t> file) {
  ResourceForkIcons fork = ScanResourceFork(file);
  TakeBitMasks(fork.resources, fork.bitMasks);
  std::vector<MacIconPicture> pictures = std::move(fork.family);
  size_t familyCount = pictures.size();
  for (MacIconPicture& picture : fork.resources) {
    auto inFamily = std::any_of(
        pictures.begin(), pictures.begin() + std::ptrdiff_t(familyCount),
        [&](const MacIconPicture& other) { return SameShape(other.color, picture.color); });
    if (!inFamily) pictures.push_back(std::move(picture));
  }
  DropRepeated(pictures);
  return pictures;
}

void AddPicture(MacIconPicture& picture, TSubIconList& images) {
  if (picture.png.empty()) {
    images.AddFromBitmap(picture.color, picture.mask ? &*picture.mask : nullptr, 0);
    return;
  }
  // The PNG bytes are handed to the image, not copied, and validated as LoadFromData does.
  auto image = std::make_unique<TFileIconImage>();
  image->SetData(ByteBlock(std::move(picture.png)));
  image->UpdateEntry();
  image->SetPacked(true);
  images.Add(std::move(image));
}

void FillIcon(std::vector<MacIconPicture> pictures, TAdvancedIcon& icon) {
  TSubIconList& images = icon.Images();
  images.Clear();
  for (MacIconPicture& picture : pictures) AddPicture(picture, images);
  images.Sort();
  for (const auto& image : images)
    if (image->ImageWidth() >= kPackedFrom || image->ImageHeight() >= kPackedFrom)
      image->SetPacked(true);
}

bool IsIconFamily(std::span<const uint8_t> file) {
  return file.size() >= 4 && std::memcmp(file.data(), "icns", 4) == 0;
}

}  // namespace

std::vector<MacIconPicture> ReadMacIconBytes(std::span<const uint8_t> file) {
  if (IsIconFamily(file)) return ReadIcnsFamily(file);
  return ReadResourceFork(file);
}

std::vector<MacIconPicture> ReadMacIconFile(const std::string& fileName) {
  return ReadMacIconBytes(ReadWholeFile(fileName));
}

void ImportMacIconBytes(std::span<const uint8_t> file, TAdvancedIcon& icon) {
  FillIcon(ReadMacIconBytes(file), icon);
}

void ImportMacIconBytesUndecodedPng(std::span<const uint8_t> file, TAdvancedIcon& icon) {
  FillIcon(IsIconFamily(file) ? ReadIcnsFamilyUndecodedPng(file) : ReadMacIconBytes(file), icon);
}

void ImportMacIcon(const std::string& fileName, TAdvancedIcon& icon) {
  ImportMacIconBytes(ReadWholeFile(fileName), icon);
}

}  // namespace varnel

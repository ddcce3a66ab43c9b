#include "icons/advancedicon.h"

#include <algorithm>

#include "base/errors.h"
#include "base/fileio.h"
#include "icons/filer.h"
#include "icons/resourcesource.h"

namespace varnel {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kDirEntrySize = 16;
constexpr uint16_t kIconType = 1;
constexpr uint16_t kCursorType = 2;
constexpr uint32_t kSmallestImage = 40;
constexpr size_t kBareImageHeaderOffset = 18;

// Loads one image through the directory; an image whose data is not all there or is damaged is
// dropped, the others stay.
template <class Image, class Loader>
void AddImageIfComplete(TSubIconList& images, Loader load) {
  auto image = std::make_unique<Image>();
  try {
    load(*image);
  } catch (const Exception&) {
    return;
  }
  images.Add(std::move(image));
}

// Reads every entry of the directory that begins at headerStart from its own place in the
// directory, so that a damaged or truncated image costs that image only. The stream is left
// after the directory.
template <class Image, class Loader>
void ReadDirectoryImages(Stream& stream, int64_t headerStart, int count, TSubIconList& images,
                         Loader load) {
  int64_t entryPosition = headerStart + int64_t(kHeaderSize);
  for (int i = 0; i < count && stream.Size() - entryPosition >= int64_t(kDirEntrySize); ++i) {
    stream.SetPosition(entryPosition);
    AddImageIfComplete<Image>(images, load);
    entryPosition += int64_t(kDirEntrySize);
  }
  stream.SetPosition(std::min(entryPosition, stream.Size()));
}

bool IsBareImage(std::span<const uint8_t> bytes) {
  return bytes.size() >= kBareImageHeaderOffset + 4 && ReadU16LE(bytes.data()) == 1 &&
         ReadU32LE(bytes.data() + kBareImageHeaderOffset) == 40;
}

}  // namespace

bool TAdvancedIcon::HasHotSpot() const {
  return std::any_of(images_.begin(), images_.end(),
                     [](const auto& image) { return image->HotSpot() != 0; });
}

void TAdvancedIcon::Assign(const TAdvancedIcon& source) {
  if (&source == this) return;
  images_.Clear();
  images_.SetCapacity(source.images_.Count());
  for (const auto& image : source.images_) {
    auto copy = std::make_unique<TSubIcon>();
    copy->LoadCopy(*image);
    images_.Add(std::move(copy));
  }
}

bool TAdvancedIcon::ReadIconHeader(Stream& stream, int& count, uint16_t* type) {
  uint8_t header[kHeaderSize];
  count = 0;
  if (stream.Read(header, kHeaderSize) != kHeaderSize) return false;
  uint16_t kind = ReadU16LE(header + 2);
  if (ReadU16LE(header) != 0 || (kind != kIconType && kind != kCursorType)) return false;
  count = ReadU16LE(header + 4);
  if (type) *type = kind;
  images_.SetCapacity(images_.Count() + count);
  return true;
}

bool TAdvancedIcon::LoadFromFile(const std::string& fileName) {
  MappedFile file(fileName);
  return LoadFromBytes(file.Bytes());
}

bool TAdvancedIcon::LoadFromBytes(std::span<const uint8_t> bytes) {
  images_.Clear();
  SpanStream stream(bytes);
  int count;
  uint16_t type = kIconType;
  if (!ReadIconHeader(stream, count, &type)) {
    if (IsBareImage(bytes)) {
      auto image = std::make_unique<TFileIconImage>();
      try {
        image->LoadFromBareImageFile(stream);
      } catch (const Exception&) {
        return false;
      }
      if (image->HasData()) images_.Add(std::move(image));
    }
    return false;
  }
  bool any = false;
  for (int i = 0; i < count && stream.Remaining() >= int64_t(kDirEntrySize); ++i) {
    TIconDirEntry entry = TIconDirEntry::Read(stream);
    uint32_t offset = stream.ReadU32();
    if (offset < stream.Position() || offset >= bytes.size()) break;
    if (entry.dwBytesInRes <= kSmallestImage || entry.dwBytesInRes > bytes.size()) continue;
    uint32_t hotSpot = 0;
    if (type == kCursorType) {
      hotSpot = entry.wPlanes | (uint32_t(entry.wBitCount) << 16);
      entry.wPlanes = entry.wBitCount = 0;
    }
    int64_t next = stream.Position();
    try {
      auto image = std::make_unique<TFileIconImage>();
      stream.SetPosition(offset);
      image->LoadFromEntry(stream, entry, false);
      image->SetHotSpot(hotSpot);
      images_.Add(std::move(image));
      any = true;
    } catch (const Exception&) {
      // A damaged image is dropped; the others stay.
    }
    stream.SetPosition(next);
  }
  return any;
}

bool TAdvancedIcon::LoadFromStream(Stream& stream) {
  int64_t base = stream.Position();
  int count;
  if (!ReadIconHeader(stream, count)) return false;
  ReadDirectoryImages<TFileIconImage>(stream, base, count, images_, [&](TSubIcon& image) {
    image.LoadFromIcoStream(stream, base);
  });
  return true;
}

bool TAdvancedIcon::LoadFromStreamAbsolute(Stream& stream) {
  images_.Clear();
  int64_t headerStart = stream.Position();
  int count;
  if (!ReadIconHeader(stream, count)) return false;
  ReadDirectoryImages<TFileIconImage>(stream, headerStart, count, images_,
                                      [&](TSubIcon& image) { image.LoadFromIcoStream(stream, 0); });
  return images_.Count() > 0;
}

bool TAdvancedIcon::LoadFromResourceModule(IconResourceSource& module, const std::string& name) {
  Stream* group = module.FindResourceStream("14", name);
  return group && LoadFromResourceGroup(module, *group, std::nullopt);
}

bool TAdvancedIcon::LoadFromResourceGroup(IconResourceSource& module, Stream& group,
                                          std::optional<uint32_t> language, bool cursor) {
  group.SetPosition(0);
  int count;
  if (!ReadIconHeader(group, count)) return false;
  constexpr int64_t kGroupEntrySize = 14;
  int64_t entryPosition = int64_t(kHeaderSize);
  for (int i = 0; i < count && group.Size() - entryPosition >= kGroupEntrySize; ++i) {
    group.SetPosition(entryPosition);
    entryPosition += kGroupEntrySize;
    auto image = std::make_unique<TResourceIconImage>();
    try {
      image->LoadFromResourceModule(group, module, language, cursor);
    } catch (const Exception&) {
      continue;  // a damaged image is dropped, the others stay
    }
    if (image->HasData()) images_.Add(std::move(image));
  }
  return true;
}

void TAdvancedIcon::WriteDirectory(Stream& stream, uint16_t type, const uint32_t* hotSpot) const {
  stream.WriteU16(0);
  stream.WriteU16(type);
  stream.WriteU16(uint16_t(images_.Count()));
  uint32_t offset = uint32_t(kHeaderSize + kDirEntrySize * images_.Count());
  for (const auto& image : images_) {
    TIconDirEntry entry = image->Entry();
    entry.dwBytesInRes = image->DataSize();
    if (type == kCursorType) {
      uint32_t spot = hotSpot ? *hotSpot : image->HotSpot();
      entry.wPlanes = uint16_t(spot);
      entry.wBitCount = uint16_t(spot >> 16);
    }
    entry.Write(stream);
    stream.WriteU32(offset);
    offset += image->DataSize();
  }
  for (const auto& image : images_) image->SaveDataToStream(stream);
}

void TAdvancedIcon::SaveToStream(Stream& stream) const {
  if (images_.Count() == 0) return;
  bool needsPacking = std::any_of(images_.begin(), images_.end(), [](const auto& image) {
    return image->Packed() && !image->IsPng();
  });
  if (!needsPacking) {
    WriteDirectory(stream, kIconType, nullptr);
    return;
  }
  TAdvancedIcon packed;
  for (const auto& image : images_) {
    auto copy = std::make_unique<TSubIcon>();
    if (image->Packed() && !image->IsPng())
      image->PackPng(*copy);
    else
      copy->LoadCopy(*image);
    packed.images_.Add(std::move(copy));
  }
  packed.WriteDirectory(stream, kIconType, nullptr);
}

void TAdvancedIcon::SaveToFile(const std::string& fileName) const {
  if (images_.Count() == 0) throw Exception("No images in icon");
  MemoryStream stream;
  SaveToStream(stream);
  if (stream.Size()) WriteFileAtomic(fileName, stream.Bytes());
}

bool TAdvancedIcon::LoadCursorFromStream(Stream& stream) {
  images_.Clear();
  return ReadCursorDirectory(stream, stream.Position(), 0);
}

bool TAdvancedIcon::LoadCursorFromStreamRelative(Stream& stream) {
  int64_t base = stream.Position();
  return ReadCursorDirectory(stream, base, base);
}

bool TAdvancedIcon::ReadCursorDirectory(Stream& stream, int64_t headerStart, int64_t base) {
  int count;
  uint16_t type;
  if (!ReadIconHeader(stream, count, &type)) return false;
  ReadDirectoryImages<TFileCursorImage>(stream, headerStart, count, images_, [&](TSubIcon& image) {
    image.LoadCursorFromStream(stream, type, base);
  });
  return true;
}

void TAdvancedIcon::SaveCursorToStream(Stream& stream) const {
  WriteDirectory(stream, kCursorType, nullptr);
}

void TAdvancedIcon::SaveCursorToFile(const std::string& fileName) const {
  if (images_.Count() == 0) throw Exception("No images in cursor");
  MemoryStream stream;
  SaveCursorToStream(stream);
  WriteFileAtomic(fileName, stream.Bytes());
}

void TAdvancedIcon::SaveAsCursorFile(const std::string& fileName, uint32_t hotSpot) const {
  if (images_.Count() == 0) throw Exception("No images in cursor");
  MemoryStream stream;
  WriteDirectory(stream, kCursorType, &hotSpot);
  WriteFileAtomic(fileName, stream.Bytes());
}

bool TAdvancedIcon::SameIcon(const TAdvancedIcon& other) const {
  if (images_.Count() != other.images_.Count()) return false;
  for (int i = 0; i < images_.Count(); ++i)
    if (!other.images_[i]->SameImage(*images_[i])) return false;
  return true;
}

void TAdvancedIcon::GetMaxDimensions(int& maxWidth, int& maxHeight, int& maxBpp) const {
  maxWidth = maxHeight = maxBpp = 0;
  for (const auto& image : images_) {
    maxWidth = std::max(maxWidth, image->ImageWidth());
    maxHeight = std::max(maxHeight, image->ImageHeight());
    maxBpp = std::max(maxBpp, image->BitsPerPixel());
  }
}

void TAdvancedIcon::WriteData(TFilerWriter& writer) const {
  writer.WriteInteger(images_.Count());
  for (const auto& image : images_) image->WriteData(writer);
}

void TAdvancedIcon::ReadData(TFilerReader& reader) {
  images_.Clear();
  int count = reader.ReadInteger();
  for (int i = 0; i < count; ++i) {
    auto image = std::make_unique<TSubIcon>();
    image->ReadData(reader);
    // An image whose data is damaged (or a record without one) is dropped.
    if (image->HasData()) images_.Add(std::move(image));
  }
}

bool IsCursorIcon(const TAdvancedIcon& icon) {
  return dynamic_cast<const TAdvancedCursor*>(&icon) || icon.HasHotSpot();
}

}  // namespace varnel

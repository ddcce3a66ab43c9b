#include "resources/ne16bitreader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "base/byteorder.h"
#include "platform/ansitext.h"
#include "resources/iclreaderror.h"

namespace varnel {

namespace {

constexpr uint16_t kSignatureMZ = 0x5A4D;
constexpr uint16_t kSignatureNE = 0x454E;
constexpr uint16_t kIntegerIdBit = 0x8000;
constexpr size_t kTypeInfoSize = 8;
constexpr size_t kNameInfoSize = 12;
constexpr uint16_t kCursorType = 1;
constexpr uint16_t kIconType = 3;
constexpr uint16_t kCursorGroupType = 12;
constexpr uint16_t kIconGroupType = 14;
// Shifts beyond this would place resources outside any file a 32-bit offset can reach.
constexpr uint16_t kMaxAlignShift = 24;

[[noreturn]] void Fail(const char* message) {
  throw EICLReadError(message);
}

// A cursor image from the data of a cursor resource: the hotspot (x, y as u16), then the image.
std::unique_ptr<TSubIcon> CursorImageOfBlock(std::span<const uint8_t> block) {
  auto image = std::make_unique<TSubCursor>();
  SpanStream stream(block);
  image->LoadFromResourceData(stream, true);
  return image;
}

}  // namespace

std::string LibraryBaseName(const std::string& fileName) {
  std::string name = std::filesystem::path(fileName).filename().string();
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return name;
  size_t removed = std::min<size_t>(name.size() - dot, 30);
  return name.substr(0, name.size() - removed);
}

TICL16IconImage::TICL16IconImage(const TIconDirEntry& entry, std::span<const uint8_t> block) {
  SpanStream stream(block);
  TIconDirEntry sized = entry;
  sized.dwBytesInRes = uint32_t(block.size());
  LoadFromEntry(stream, sized, false);
}

T16BitReader::T16BitReader(const std::string& fileName)
    : T16BitReader(MappedFile::Open(fileName)) {}

T16BitReader::T16BitReader(SharedFile file)
    : TICLReader(file->Path()),
      BaseName(LibraryBaseName(file->Path())),
      file_(std::move(file)),
      bytes_(file_->Bytes()) {}

T16BitReader::T16BitReader(std::span<const uint8_t> bytes, std::string baseName)
    : TICLReader(baseName), BaseName(std::move(baseName)), bytes_(bytes) {}

uint16_t T16BitReader::U16At(uint64_t offset) const {
  if (offset > bytes_.size() || bytes_.size() - offset < 2) throw EReadError();
  return ReadU16LE(bytes_.data() + offset);
}

void T16BitReader::ReadHeader() {
  if (bytes_.size() < 2 || U16At(0) != kSignatureMZ) Fail("Not a valid ICL File");
  NEOffset = bytes_.size() >= 62 ? U16At(60) : 0;
  if (NEOffset < 60) Fail("Invalid Windows 16 Offset");
  if (NEOffset + 2u > bytes_.size() || U16At(NEOffset) != kSignatureNE)
    Fail("Invalid Windows 16 Header");
  uint16_t resourceTable = U16At(NEOffset + 0x24u);
  if (resourceTable == 0) Fail("No Resources in file");
  ResourceTableOffset = uint64_t(NEOffset) + resourceTable;
  uint16_t namesTable = U16At(NEOffset + 0x26u);
  if (namesTable == 0) Fail("Names Table not found");
  NamesTableOffset = uint64_t(NEOffset) + namesTable;
}

std::vector<T16BitReader::NameInfo> T16BitReader::ReadNameInfos(uint64_t position,
                                                                uint16_t count) const {
  if (position > bytes_.size() || (bytes_.size() - position) / kNameInfoSize < count)
    throw EReadError();
  std::vector<NameInfo> infos(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* record = bytes_.data() + position + i * kNameInfoSize;
    infos[i] = {ReadU16LE(record), ReadU16LE(record + 2), ReadU16LE(record + 6)};
  }
  return infos;
}

void T16BitReader::GroupTables::IndexImages() {
  imageById.clear();
  for (size_t i = 0; i < images.size(); ++i) imageById.emplace(images[i].id, i);
}

// Reads the type blocks up to the table's final 0; returns the position after it.
uint64_t T16BitReader::ReadTypeBlocks(uint64_t position) {
  while (position + 2 <= bytes_.size()) {
    uint16_t type = U16At(position);
    if (type == 0) return position + 2;
    uint16_t count = U16At(position + 2);
    if (position + kTypeInfoSize > bytes_.size()) throw EReadError();
    position += kTypeInfoSize;
    auto take = [&](std::vector<NameInfo>& table, bool& present) {
      table = ReadNameInfos(position, count);
      present = true;
    };
    // Integer types are told by their low byte.
    uint16_t integerType = (type & kIntegerIdBit) ? (type & 0xFF) : 0;
    if (integerType == kIconType)
      take(icons_.images, icons_.hasImages);
    else if (integerType == kIconGroupType)
      take(icons_.groups, icons_.hasGroups);
    else if (integerType == kCursorType)
      take(cursors_.images, cursors_.hasImages);
    else if (integerType == kCursorGroupType)
      take(cursors_.groups, cursors_.hasGroups);
    position += uint64_t(count) * kNameInfoSize;
  }
  return position;
}

void T16BitReader::ReadNamesAfterTable(uint64_t position) {
  names_.clear();
  while (position < bytes_.size()) {
    size_t length = bytes_[position++];
    if (length == 0) break;
    length = std::min<uint64_t>(length, bytes_.size() - position);
    names_.push_back(TextFromFileBytes(
        std::string_view(reinterpret_cast<const char*>(bytes_.data() + position), length)));
    position += length;
  }
  // A library's names table starts with "ICL"; a module's resource strings (type names such as
  // "OEMBIN") are no icon names.
  iclNames_ = !names_.empty() && names_.front() == "ICL";
  if (iclNames_) names_.erase(names_.begin());
}

void T16BitReader::ReadResourceTable() {
  AlignShift = U16At(ResourceTableOffset);
  if (AlignShift > kMaxAlignShift) Fail("ResourceTable has an Error");
  icons_ = {};
  cursors_ = {};
  uint64_t afterTable = ReadTypeBlocks(ResourceTableOffset + 2);
  // A module of cursors alone has no icon tables.
  if (!icons_.Complete() && !cursors_.Complete()) Fail("ResourceTable has an Error");
  if (!icons_.Complete()) icons_ = {};
  if (!cursors_.Complete()) cursors_ = {};
  icons_.IndexImages();
  cursors_.IndexImages();
  ReadNamesAfterTable(afterTable);
}

std::span<const uint8_t> T16BitReader::ResourceBytes(const NameInfo& info) const {
  uint64_t offset = uint64_t(info.offset) << AlignShift;
  uint64_t length = uint64_t(info.length) << AlignShift;
  if (offset > bytes_.size() || length > bytes_.size() - offset) throw EReadError();
  return bytes_.subspan(offset, length);
}

void T16BitReader::AppendGroupImages(TAdvancedIcon& icon, std::span<const uint8_t> group,
                                     const GroupTables& tables, bool cursor) const {
  SpanStream stream(group);
  int count = 0;
  if (!icon.ReadIconHeader(stream, count)) return;
  try {
    for (int i = 0; i < count; ++i) {
      TIconDirEntry entry = TIconDirEntry::Read(stream);
      uint16_t id = stream.ReadU16();
      auto found = tables.imageById.find(uint16_t(id | kIntegerIdBit));
      if (found == tables.imageById.end()) Fail("Icon Resource Not Found");
      std::span<const uint8_t> block = ResourceBytes(tables.images[found->second]);
      // The block is padded to the alignment unit; the entry tells the image's own size.
      if (entry.dwBytesInRes != 0 && entry.dwBytesInRes < block.size())
        block = block.first(entry.dwBytesInRes);
      try {
        icon.Images().Add(cursor ? CursorImageOfBlock(block)
                                 : std::make_unique<TICL16IconImage>(entry, block));
      } catch (const EInvalidImage&) {
        // A damaged image is dropped; the group's other images stay.
      }
    }
  } catch (const std::exception&) {
    // The first damaged entry ends the group; the images read before it stay.
  }
}

std::string T16BitReader::DefaultNameOf(size_t index) const {
  char number[16];
  std::snprintf(number, sizeof number, "%.3d", int(index + 1));
  return BaseName + " " + number;
}

std::string T16BitReader::NameOfGroup(size_t index) const {
  if (!iclNames_) return NameOfResourceId(icons_.groups[index].id);
  return names_.size() == icons_.groups.size() ? names_[index] : DefaultNameOf(index);
}

std::string T16BitReader::NameOfResourceId(uint16_t id) const {
  uint64_t position = ResourceTableOffset + id;
  // A name outside the file leaves the group its number.
  if ((id & kIntegerIdBit) || position >= bytes_.size()) return std::to_string(id & ~kIntegerIdBit);
  size_t length = std::min<uint64_t>(bytes_[position], bytes_.size() - position - 1);
  return TextFromFileBytes(
      std::string_view(reinterpret_cast<const char*>(bytes_.data() + position + 1), length));
}

std::unique_ptr<TICL16Icon> T16BitReader::LoadGroup(size_t index) const {
  auto icon = std::make_unique<TICL16Icon>();
  icon->DefaultName = DefaultNameOf(index);
  try {
    AppendGroupImages(*icon, ResourceBytes(icons_.groups[index]), icons_, false);
  } catch (const std::exception&) {
    // A group outside the file stays an icon without images.
  }
  return icon;
}

std::unique_ptr<TAdvancedIcon> T16BitReader::LoadCursorGroup(size_t index) const {
  auto cursor = std::make_unique<TAdvancedCursor>();
  try {
    AppendGroupImages(*cursor, ResourceBytes(cursors_.groups[index]), cursors_, true);
  } catch (const std::exception&) {
    // A group outside the file stays a cursor without images.
  }
  return cursor;
}

std::vector<TNamedIcon> T16BitReader::ReadItems(bool withIcons) const {
  std::vector<TNamedIcon> items;
  for (size_t k = 0; k < icons_.groups.size(); ++k)
    items.push_back({NameOfGroup(k), withIcons ? LoadGroup(k) : nullptr});
  for (size_t k = 0; k < cursors_.groups.size(); ++k)
    items.push_back(
        {NameOfResourceId(cursors_.groups[k].id), withIcons ? LoadCursorGroup(k) : nullptr});
  return items;
}

bool T16BitReader::ReadIcons() {
  List.clear();
  try {
    ReadHeader();
    ReadResourceTable();
    List = ReadItems(true);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool T16BitReader::ReadNames() {
  List.clear();
  try {
    ReadHeader();
    ReadResourceTable();
    List = ReadItems(false);
    return true;
  } catch (const std::exception&) {
    List.clear();
    return false;
  }
}

}  // namespace varnel

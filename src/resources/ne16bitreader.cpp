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
constexpr size_t kGroupEntrySize = 14;
// Shifts beyond this would place resources outside any file a 32-bit offset can reach.
constexpr uint16_t kMaxAlignShift = 24;

[[noreturn]] void Fail(const char* message) {
  throw EICLReadError(message);
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

// Reads the type blocks up to the table's final 0; returns the position after it.
uint64_t T16BitReader::ReadTypeBlocks(uint64_t position) {
  while (position + 2 <= bytes_.size()) {
    uint16_t type = U16At(position);
    if (type == 0) return position + 2;
    uint16_t count = U16At(position + 2);
    if (position + kTypeInfoSize > bytes_.size()) throw EReadError();
    position += kTypeInfoSize;
    if ((type & kIntegerIdBit) && (type & 0xFF) == 3) {
      iconTable_ = ReadNameInfos(position, count);
      hasIconTable_ = true;
    } else if ((type & kIntegerIdBit) && (type & 0xFF) == 14) {
      groupTable_ = ReadNameInfos(position, count);
      hasGroupTable_ = true;
    }
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
  iconTable_.clear();
  groupTable_.clear();
  hasIconTable_ = hasGroupTable_ = false;
  uint64_t afterTable = ReadTypeBlocks(ResourceTableOffset + 2);
  if (!hasIconTable_ || !hasGroupTable_) Fail("ResourceTable has an Error");
  iconById_.clear();
  for (size_t i = 0; i < iconTable_.size(); ++i) iconById_.emplace(iconTable_[i].id, i);
  ReadNamesAfterTable(afterTable);
}

std::span<const uint8_t> T16BitReader::ResourceBytes(const NameInfo& info) const {
  uint64_t offset = uint64_t(info.offset) << AlignShift;
  uint64_t length = uint64_t(info.length) << AlignShift;
  if (offset > bytes_.size() || length > bytes_.size() - offset) throw EReadError();
  return bytes_.subspan(offset, length);
}

void T16BitReader::AppendGroupImages(TICL16Icon& icon, std::span<const uint8_t> group) const {
  SpanStream stream(group);
  int count = 0;
  if (!icon.ReadIconHeader(stream, count)) return;
  try {
    for (int i = 0; i < count; ++i) {
      TIconDirEntry entry = TIconDirEntry::Read(stream);
      uint16_t id = stream.ReadU16();
      auto found = iconById_.find(uint16_t(id | kIntegerIdBit));
      if (found == iconById_.end()) Fail("Icon Resource Not Found");
      std::span<const uint8_t> block = ResourceBytes(iconTable_[found->second]);
      // The block is padded to the alignment unit; the entry tells the image's own size.
      if (entry.dwBytesInRes != 0 && entry.dwBytesInRes < block.size())
        block = block.first(entry.dwBytesInRes);
      try {
        icon.Images().Add(std::make_unique<TICL16IconImage>(entry, block));
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

// An integer id as its decimal text; a string id is the offset of a length-prefixed name from
// the start of the resource table.
std::string T16BitReader::ResourceName(uint16_t id) const {
  if (id & kIntegerIdBit) return std::to_string(id & ~kIntegerIdBit);
  uint64_t position = ResourceTableOffset + id;
  if (position >= bytes_.size()) return "";
  size_t length = std::min<uint64_t>(bytes_[position], bytes_.size() - position - 1);
  return TextFromFileBytes(
      std::string_view(reinterpret_cast<const char*>(bytes_.data() + position + 1), length));
}

std::string T16BitReader::NameOfGroup(size_t index) const {
  if (!iclNames_) {
    std::string name = ResourceName(groupTable_[index].id);
    return name.empty() ? DefaultNameOf(index) : name;
  }
  return names_.size() == groupTable_.size() ? names_[index] : DefaultNameOf(index);
}

std::unique_ptr<TICL16Icon> T16BitReader::LoadGroup(size_t index) const {
  auto icon = std::make_unique<TICL16Icon>();
  icon->DefaultName = DefaultNameOf(index);
  try {
    AppendGroupImages(*icon, ResourceBytes(groupTable_[index]));
  } catch (const std::exception&) {
    // A group outside the file stays an icon without images.
  }
  return icon;
}

bool T16BitReader::ReadIcons() {
  List.clear();
  try {
    ReadHeader();
    ReadResourceTable();
    std::vector<TNamedIcon> result;
    for (size_t k = 0; k < groupTable_.size(); ++k)
      result.push_back({NameOfGroup(k), LoadGroup(k)});
    List = std::move(result);
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
    for (size_t k = 0; k < groupTable_.size(); ++k) List.push_back({NameOfGroup(k), nullptr});
    return true;
  } catch (const std::exception&) {
    List.clear();
    return false;
  }
}

}  // namespace varnel

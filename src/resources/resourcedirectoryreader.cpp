#include "resources/resourcedirectoryreader.h"

#include <algorithm>

#include "base/byteorder.h"
#include "resources/utf16text.h"

namespace varnel {

namespace {

constexpr uint32_t kHighBit = 0x80000000;
constexpr uint32_t kDirectorySize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr int kLanguageLevel = 2;
// Real trees are three levels deep; deeper chains only serve to exhaust the stack.
constexpr int kDeepestLevel = 16;

}  // namespace

ResourceDirectoryReader::ResourceDirectoryReader(TPEResourceModule& module, TImageSection& section,
                                                 uint32_t directoryOffset, uint64_t copyBudget)
    : module_(module),
      section_(section),
      bytes_(section.RawData.Span().subspan(
          std::min<size_t>(directoryOffset, section.RawData.size()))),
      copyBudget_(copyBudget) {}

void ResourceDirectoryReader::Walk() {
  WalkDirectory(0, 0, EntryPath{});
}

void ResourceDirectoryReader::WalkDirectory(uint32_t offset, int level, const EntryPath& path) {
  if (level > kDeepestLevel || !visited_.insert(offset).second) return;
  if (!Holds(offset, kDirectorySize)) return;
  const uint8_t* directory = &bytes_[offset];
  uint32_t entries = uint32_t(ReadU16LE(directory + 12)) + ReadU16LE(directory + 14);
  if (!Holds(uint64_t(offset) + kDirectorySize, uint64_t(entries) * kEntrySize)) return;
  DirectoryInfo info{ReadU32LE(directory),
                     (uint32_t(ReadU16LE(directory + 8)) << 16) | ReadU16LE(directory + 10)};
  for (uint32_t i = 0; i < entries; ++i)
    if (!WalkEntry(offset + kDirectorySize + i * kEntrySize, level, path, info)) return;
}

bool ResourceDirectoryReader::WalkEntry(uint32_t entryOffset, int level, const EntryPath& path,
                                        DirectoryInfo info) {
  uint32_t nameField = ReadU32LE(&bytes_[entryOffset]);
  uint32_t dataField = ReadU32LE(&bytes_[entryOffset + 4]);
  bool named = (nameField & kHighBit) != 0;
  EntryPath child = path;
  uint32_t language = 0;
  if (level >= kLanguageLevel) {
    if (named) throw EPEException("Unsupported non-integer language ID in resource");
    language = nameField;
  } else {
    std::string& text = level == 0 ? child.type : child.name;
    if (!ReadName(nameField, text)) return false;
    if (level == 1) child.nameIsString = named;
  }
  if (dataField & kHighBit) {
    WalkDirectory(dataField & ~kHighBit, level + 1, child);
    return true;
  }
  // A data entry above the language level has no name or language to file it under.
  if (level < kLanguageLevel) return true;
  return AddRecord(dataField, child, language, info);
}

bool ResourceDirectoryReader::ReadName(uint32_t nameField, std::string& name) const {
  if (!(nameField & kHighBit)) {
    name = std::to_string(nameField);
    return true;
  }
  uint64_t offset = nameField & ~kHighBit;
  if (!Holds(offset, 2)) return false;
  uint16_t length = ReadU16LE(&bytes_[offset]);
  if (!Holds(offset + 2, uint64_t(length) * 2)) return false;
  name = Utf16LeToUtf8(bytes_.subspan(offset + 2, size_t(length) * 2), length);
  return true;
}

bool ResourceDirectoryReader::AddRecord(uint32_t dataEntryOffset, const EntryPath& path,
                                        uint32_t language, DirectoryInfo info) {
  if (!Holds(dataEntryOffset, kDataEntrySize)) return false;
  const uint8_t* entry = &bytes_[dataEntryOffset];
  uint32_t rva = ReadU32LE(entry), size = ReadU32LE(entry + 4);
  std::optional<EntryBytes> data = ResourceBytes(rva, size);
  if (!data) return true;  // in no section: skipped
  if (!data->keeper) {
    if (data->bytes.size() > copyBudget_) return false;
    copyBudget_ -= data->bytes.size();
  }
  auto record = CreateResourceDetails(&module_, language, path.name, path.type,
                                      ByteBlock(data->bytes, std::move(data->keeper)));
  record->NameIsString = path.nameIsString;
  record->CodePage = ReadU32LE(entry + 8);
  record->Characteristics = info.characteristics;
  record->DataVersion = info.version;
  module_.AddResource(std::move(record));
  return true;
}

std::optional<ResourceDirectoryReader::EntryBytes> ResourceDirectoryReader::ResourceBytes(
    uint32_t rva, uint32_t size) {
  const TImageSection* holder = &section_;
  uint32_t relative = rva - section_.VirtualAddress();
  if (relative >= section_.RawData.size()) {
    int other = module_.FindSectionContaining(rva);
    if (other < 0) return std::nullopt;
    TImageSection& found = module_.Section(other);
    module_.LoadRawData(found);
    holder = &found;
    relative = rva - found.VirtualAddress();
  }
  std::span<const uint8_t> raw = holder->RawData.Span();
  if (raw.empty()) return std::nullopt;
  uint64_t start = std::min<uint64_t>(relative, raw.size());
  uint64_t length = std::min<uint64_t>(size, raw.size() - start);
  return EntryBytes{raw.subspan(size_t(start), size_t(length)), holder->RawData.Keeper()};
}

}  // namespace varnel

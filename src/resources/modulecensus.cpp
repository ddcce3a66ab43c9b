#include "resources/modulecensus.h"

#include <algorithm>
#include <optional>

#include "base/byteorder.h"
#include "base/fileio.h"

namespace varnel {

namespace {

constexpr uint16_t kSignatureMZ = 0x5A4D;
constexpr uint16_t kSignatureNE = 0x454E;
constexpr uint16_t kSignaturePE = 0x4550;
constexpr size_t kLfanewOffset = 60;
constexpr uint32_t kGroupIconId = 14;
constexpr uint32_t kGroupCursorId = 12;
constexpr uint16_t kNEGroupIconType = 0x800E;
constexpr uint16_t kNEGroupCursorType = 0x800C;
constexpr uint32_t kSubdirectoryBit = 0x80000000;

// Bounds-checked little-endian reads from the file's bytes.
class ByteView {
 public:
  explicit ByteView(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  std::optional<uint16_t> U16(uint64_t offset) const {
    if (!Holds(offset, 2)) return std::nullopt;
    return ReadU16LE(bytes_.data() + offset);
  }
  std::optional<uint32_t> U32(uint64_t offset) const {
    if (!Holds(offset, 4)) return std::nullopt;
    return ReadU32LE(bytes_.data() + offset);
  }
  uint64_t Size() const { return bytes_.size(); }
  bool Holds(uint64_t offset, uint64_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

 private:
  std::span<const uint8_t> bytes_;
};

// A resource directory of a PE image: its entries, all offsets relative to the directory root.
class PEResourceDirectory {
 public:
  PEResourceDirectory(const ByteView& view, uint64_t root) : view_(view), root_(root) {}

  // Number of entries the directory at offset claims and the file holds.
  uint32_t EntryCount(uint32_t offset) const {
    auto named = view_.U16(root_ + offset + 12), ids = view_.U16(root_ + offset + 14);
    if (!named || !ids) return 0;
    uint64_t first = root_ + offset + 16;
    if (!view_.Holds(first, 0)) return 0;
    return uint32_t(std::min<uint64_t>(uint64_t(*named) + *ids, (view_.Size() - first) / 8));
  }
  uint32_t EntryName(uint32_t offset, uint32_t index) const {
    return *view_.U32(root_ + offset + 16 + uint64_t(index) * 8);
  }
  uint32_t EntryTarget(uint32_t offset, uint32_t index) const {
    return *view_.U32(root_ + offset + 20 + uint64_t(index) * 8);
  }

  // The subdirectory of the root's first entry with the numeric name, or nothing.
  std::optional<uint32_t> FindRootSubdirectory(uint32_t id) const {
    for (uint32_t i = 0, n = EntryCount(0); i < n; ++i) {
      if (EntryName(0, i) != id) continue;
      uint32_t target = EntryTarget(0, i);
      if (!(target & kSubdirectoryBit)) return std::nullopt;
      return target & ~kSubdirectoryBit;
    }
    return std::nullopt;
  }

  // Language entries below every name entry of the type directory.
  int CountLanguages(uint32_t typeDirectory) const {
    int64_t total = 0;
    for (uint32_t i = 0, n = EntryCount(typeDirectory); i < n; ++i) {
      uint32_t target = EntryTarget(typeDirectory, i);
      if (target & kSubdirectoryBit) total += EntryCount(target & ~kSubdirectoryBit);
    }
    return int(std::min<int64_t>(total, INT32_MAX));
  }

 private:
  const ByteView& view_;
  uint64_t root_;
};

// File offset of the resource directory of a PE image, from the section holding its RVA (the
// last such section in table order).
std::optional<uint64_t> PEResourceDirectoryOffset(const ByteView& view, uint64_t peOffset,
                                                  bool& is64Bit) {
  uint64_t coff = peOffset + 4, optional = coff + 20;
  auto sectionCount = view.U16(coff + 2), optionalSize = view.U16(coff + 16);
  auto magic = view.U16(optional);
  if (!sectionCount || !optionalSize || !magic) return std::nullopt;
  if (*magic != 0x010B && *magic != 0x0107 && *magic != 0x020B) return std::nullopt;
  is64Bit = *magic == 0x020B;
  uint64_t directories = optional + (is64Bit ? 112 : 96);
  auto directoryCount = view.U32(directories - 4);
  if (!directoryCount || *directoryCount <= 2) return std::nullopt;
  if (directories + 24 > optional + *optionalSize) return std::nullopt;
  auto rva = view.U32(directories + 16);
  if (!rva || *rva == 0) return std::nullopt;
  std::optional<uint64_t> found;
  uint64_t table = optional + *optionalSize;
  for (uint32_t i = 0; i < *sectionCount; ++i) {
    uint64_t header = table + uint64_t(i) * 40;
    auto virtualSize = view.U32(header + 8), virtualAddress = view.U32(header + 12);
    auto rawSize = view.U32(header + 16), rawPointer = view.U32(header + 20);
    if (!virtualSize || !virtualAddress || !rawSize || !rawPointer) break;
    uint32_t extent = std::max(*virtualSize, *rawSize);
    if (*rva >= *virtualAddress && uint64_t(*rva) < uint64_t(*virtualAddress) + extent)
      found = uint64_t(*rawPointer) + (*rva - *virtualAddress);
  }
  return found;
}

void CensusOfPE(const ByteView& view, uint64_t peOffset, ModuleCensus& census) {
  std::optional<uint64_t> root = PEResourceDirectoryOffset(view, peOffset, census.is64Bit);
  if (!root || !view.Holds(*root, 16)) return;
  PEResourceDirectory directory(view, *root);
  std::optional<uint32_t> groups = directory.FindRootSubdirectory(kGroupIconId);
  census.hasIcons = groups.has_value();
  census.iconCount = groups ? directory.CountLanguages(*groups) : 0;
  if (std::optional<uint32_t> cursors = directory.FindRootSubdirectory(kGroupCursorId))
    census.cursorCount = directory.CountLanguages(*cursors);
}

void CensusOfNE(const ByteView& view, uint64_t neOffset, ModuleCensus& census) {
  auto tableOffset = view.U16(neOffset + 0x24);
  if (!tableOffset || *tableOffset == 0) return;
  // The alignment-shift word, then type blocks of 8 bytes, each followed by 12-byte records.
  uint64_t position = neOffset + *tableOffset + 2;
  census.iconCount = 0;
  while (auto type = view.U16(position)) {
    if (*type == 0) break;
    auto count = view.U16(position + 2);
    if (!count) break;
    if (*type == kNEGroupIconType && !census.hasIcons) {
      census.hasIcons = true;
      census.iconCount = *count;
    } else if (*type == kNEGroupCursorType && census.cursorCount == 0) {
      census.cursorCount = *count;
    }
    position += 8 + uint64_t(*count) * 12;
  }
}

}  // namespace

bool IsModuleBytes(std::span<const uint8_t> bytes, bool& is32Bit) {
  ByteView view(bytes);
  is32Bit = false;
  if (view.U16(0) != kSignatureMZ) return false;
  auto headerOffset = view.U16(kLfanewOffset);
  if (!headerOffset) return false;
  auto signature = view.U16(*headerOffset);
  is32Bit = signature == kSignaturePE;
  return signature == kSignaturePE || signature == kSignatureNE;
}

bool IsModuleFile(const std::string& fileName, bool& is32Bit) {
  is32Bit = false;
  try {
    MappedFile file(fileName);
    return IsModuleBytes(file.Bytes(), is32Bit);
  } catch (const std::exception&) {
    return false;
  }
}

ModuleCensus TakeModuleCensus(std::span<const uint8_t> bytes) {
  ByteView view(bytes);
  ModuleCensus census;
  auto headerOffset = view.U32(kLfanewOffset);
  if (view.U16(0) != kSignatureMZ || !headerOffset) return census;
  auto signature = view.U16(*headerOffset);
  if (signature == kSignaturePE && view.U16(*headerOffset + 2) == 0) {
    census.kind = ModuleKind::PE;
    CensusOfPE(view, *headerOffset, census);
  } else if (signature == kSignatureNE) {
    census.kind = ModuleKind::NE;
    CensusOfNE(view, *headerOffset, census);
  }
  return census;
}

namespace {

ModuleCensus CensusOfFile(const std::string& fileName) {
  try {
    MappedFile file(fileName);
    return TakeModuleCensus(file.Bytes());
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

bool ModuleHasIcons(const std::string& fileName) {
  return CensusOfFile(fileName).hasIcons;
}

int CountModuleIcons(const std::string& fileName, bool& is64Bit) {
  ModuleCensus census = CensusOfFile(fileName);
  is64Bit = census.is64Bit;
  return census.iconCount;
}

}  // namespace varnel

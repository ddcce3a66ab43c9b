#include "collection/filetruncation.h"

#include <algorithm>

#include "base/byteorder.h"

namespace varnel {

namespace {

constexpr size_t kLfanewOffset = 60;
constexpr size_t kPeCoffSize = 24;  // "PE\0\0" and the file header
constexpr size_t kPeSectionSize = 40;
constexpr size_t kNeHeaderSize = 64;
constexpr size_t kNeSegmentSize = 8;
constexpr size_t kNeResourceSize = 12;
constexpr uint32_t kNeLargestShift = 16;
constexpr size_t kIcnsHeader = 8;

// The bytes from offset as a view; empty when offset + length passes the end.
std::span<const uint8_t> Part(std::span<const uint8_t> bytes, uint64_t offset, uint64_t length) {
  if (offset > bytes.size() || length > bytes.size() - offset) return {};
  return bytes.subspan(size_t(offset), size_t(length));
}

// The end of a PE image's sections: the section table itself and every section's raw data.
uint64_t PeDeclaredEnd(std::span<const uint8_t> bytes, uint32_t header) {
  std::span<const uint8_t> coff = Part(bytes, header, kPeCoffSize);
  if (coff.empty()) return 0;
  uint16_t sections = ReadU16LE(&coff[6]);
  uint64_t table = uint64_t(header) + kPeCoffSize + ReadU16LE(&coff[20]);
  uint64_t end = table + uint64_t(sections) * kPeSectionSize;
  for (uint16_t i = 0; i < sections; ++i) {
    std::span<const uint8_t> section =
        Part(bytes, table + uint64_t(i) * kPeSectionSize, kPeSectionSize);
    if (section.empty()) break;
    uint32_t size = ReadU32LE(&section[16]);
    if (size) end = std::max(end, uint64_t(ReadU32LE(&section[20])) + size);
  }
  return end;
}

// The end of an NE module's segments and resources, each placed in units of its table's shift.
uint64_t NeDeclaredEnd(std::span<const uint8_t> bytes, uint32_t header) {
  std::span<const uint8_t> ne = Part(bytes, header, kNeHeaderSize);
  if (ne.empty()) return 0;
  uint64_t end = 0;
  uint32_t segmentShift = ReadU16LE(&ne[0x32]);
  if (segmentShift > kNeLargestShift) return 0;
  uint16_t segments = ReadU16LE(&ne[0x1C]);
  uint64_t segmentTable = uint64_t(header) + ReadU16LE(&ne[0x22]);
  for (uint16_t i = 0; i < segments; ++i) {
    std::span<const uint8_t> entry =
        Part(bytes, segmentTable + uint64_t(i) * kNeSegmentSize, kNeSegmentSize);
    if (entry.empty())
      return std::max<uint64_t>(end, segmentTable + uint64_t(segments) * kNeSegmentSize);
    uint64_t sector = ReadU16LE(&entry[0]);
    uint64_t length = ReadU16LE(&entry[2]);
    if (sector) end = std::max(end, (sector << segmentShift) + (length ? length : 0x10000));
  }
  uint64_t resources = uint64_t(header) + ReadU16LE(&ne[0x24]);
  uint64_t resourcesEnd = uint64_t(header) + ReadU16LE(&ne[0x26]);
  std::span<const uint8_t> shiftField = Part(bytes, resources, 2);
  if (resourcesEnd <= resources || shiftField.empty()) return end;
  uint32_t shift = ReadU16LE(shiftField.data());
  if (shift > kNeLargestShift) return end;
  // Type entries (type, count, 4 reserved bytes) each followed by count resource entries.
  for (uint64_t at = resources + 2; at + 8 <= resourcesEnd;) {
    std::span<const uint8_t> type = Part(bytes, at, 8);
    if (type.empty() || ReadU16LE(&type[0]) == 0) break;
    uint16_t count = ReadU16LE(&type[2]);
    at += 8;
    for (uint16_t i = 0; i < count && at + kNeResourceSize <= resourcesEnd;
         ++i, at += kNeResourceSize) {
      std::span<const uint8_t> entry = Part(bytes, at, kNeResourceSize);
      if (entry.empty()) return std::max(end, resourcesEnd);
      uint64_t offset = uint64_t(ReadU16LE(&entry[0])) << shift;
      uint64_t length = uint64_t(ReadU16LE(&entry[2])) << shift;
      if (offset) end = std::max(end, offset + length);
    }
  }
  return end;
}

uint64_t ModuleDeclaredEnd(std::span<const uint8_t> bytes) {
  std::span<const uint8_t> lfanew = Part(bytes, kLfanewOffset, 4);
  if (lfanew.empty()) return 0;
  uint32_t header = ReadU32LE(lfanew.data());
  std::span<const uint8_t> magic = Part(bytes, header, 2);
  if (magic.empty()) return 0;
  if (magic[0] == 'P' && magic[1] == 'E') return PeDeclaredEnd(bytes, header);
  if (magic[0] == 'N' && magic[1] == 'E') return NeDeclaredEnd(bytes, header);
  return 0;
}

uint64_t IcnsDeclaredEnd(std::span<const uint8_t> bytes) {
  std::span<const uint8_t> header = Part(bytes, 0, kIcnsHeader);
  if (header.empty() || !std::equal(header.begin(), header.begin() + 4, "icns")) return 0;
  return ReadU32BE(&header[4]);
}

}  // namespace

std::optional<TFileTruncation> FindTruncation(TFileKind kind, std::span<const uint8_t> bytes) {
  uint64_t declared = 0;
  if (kind == TFileKind::fkModule) declared = ModuleDeclaredEnd(bytes);
  if (kind == TFileKind::fkMacIcon) declared = IcnsDeclaredEnd(bytes);
  if (declared <= bytes.size()) return std::nullopt;
  return TFileTruncation{bytes.size(), declared};
}

std::string TruncationMessage(const std::string& name, const TFileTruncation& truncation) {
  return name + " is damaged: it ends after " + std::to_string(truncation.present) + " of the " +
         std::to_string(truncation.declared) + " bytes its headers give";
}

}  // namespace varnel

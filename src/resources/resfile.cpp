#include "resources/resfile.h"

#include <algorithm>

#include "base/byteorder.h"
#include "base/mappedfile.h"
#include "resources/utf16text.h"

namespace varnel {

namespace {

constexpr uint64_t kFixedHeaderTail = 16;  // DataVersion, flags, language, Version, Characteristics

uint64_t RoundUp4(uint64_t value) {
  return (value + 3) & ~uint64_t(3);
}

// Reads a type or name field inside [position, end): an ordinal or a zero-terminated string.
bool ReadNameOrId(std::span<const uint8_t> bytes, uint64_t& position, uint64_t end,
                  std::string& text) {
  if (position + 2 > end) return false;
  if (ReadU16LE(&bytes[position]) == 0xFFFF) {
    if (position + 4 > end) return false;
    text = std::to_string(ReadU16LE(&bytes[position + 2]));
    position += 4;
    return true;
  }
  uint64_t start = position;
  while (position + 2 <= end && ReadU16LE(&bytes[position]) != 0) position += 2;
  if (position + 2 > end) return false;
  text = Utf16LeToUtf8(bytes.subspan(start, position - start), (position - start) / 2);
  position += 2;
  return true;
}

}  // namespace

void TResModule::LoadFromStream(Stream& stream) {
  stream.SetPosition(0);
  auto bytes = std::make_shared<std::vector<uint8_t>>(stream.ReadBytes(size_t(stream.Size())));
  LoadFromBytes(*bytes, bytes);
}

void TResModule::LoadFromFile(const std::string& fileName) {
  SharedFile file = MappedFile::Open(fileName);
  LoadFromBytes(file->Bytes(), file);
}

void TResModule::LoadFromBytes(std::span<const uint8_t> bytes, std::shared_ptr<const void> keeper) {
  uint64_t size = bytes.size();
  for (uint64_t p = 0; p + 8 < size;) {
    uint32_t dataSize = ReadU32LE(&bytes[p]);
    uint32_t headerSize = ReadU32LE(&bytes[p + 4]);
    uint64_t headerEnd = p + headerSize;
    if (headerEnd > size) return;
    uint64_t position = p + 8;
    std::string type, name;
    if (!ReadNameOrId(bytes, position, headerEnd, type) ||
        !ReadNameOrId(bytes, position, headerEnd, name))
      return;
    position = p + RoundUp4(position - p);
    if (position + kFixedHeaderTail > headerEnd) return;
    const uint8_t* fields = &bytes[position];
    uint64_t dataStart = headerEnd;
    uint64_t present = dataStart < size ? std::min<uint64_t>(dataSize, size - dataStart) : 0;
    if (dataSize != 0 || name != "0") {
      auto record = CreateResourceDetails(this, ReadU16LE(fields + 6), name, type,
                                          ByteBlock(bytes.subspan(dataStart, present), keeper));
      record->DataVersion = ReadU32LE(fields);
      record->MemoryFlags = ReadU16LE(fields + 4);
      record->Version = ReadU32LE(fields + 8);
      record->Characteristics = ReadU32LE(fields + 12);
      AddResource(std::move(record));
    }
    if (present < dataSize) return;
    p = p + RoundUp4(uint64_t(dataSize) + headerSize);
  }
}

}  // namespace varnel

#include "collection/zipmemofile.h"

#include <zlib.h>

#include "base/errors.h"
#include "base/fileio.h"
#include "base/stream.h"

namespace varnel {

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint16_t kVersion = 20;
constexpr uint16_t kDeflate = 8;
// General-purpose flag bit 11: the member names are UTF-8.
constexpr uint16_t kUtf8NamesFlag = 1 << 11;
constexpr size_t kMaxMembers = 0xFFFF;

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Offsets and sizes of a ZIP file without its 64-bit extension end at 4 GiB.
uint32_t CheckedZip32(int64_t value) {
  if (value < 0 || value > int64_t(UINT32_MAX))
    throw Exception("The ZIP file would be larger than 4 GiB");
  return uint32_t(value);
}

std::vector<uint8_t> RawDeflate(std::span<const uint8_t> bytes) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw Exception("Cannot compress data");
  std::vector<uint8_t> out(deflateBound(&z, uLong(bytes.size())));
  z.next_in = const_cast<Bytef*>(bytes.data());
  z.avail_in = uInt(bytes.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  int status = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (status != Z_STREAM_END) throw Exception("Cannot compress data");
  return out;
}

void DosDateTime(std::time_t when, uint16_t& time, uint16_t& date) {
  std::tm local{};
  localtime_r(&when, &local);
  time = uint16_t((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  int year = std::max(local.tm_year + 1900, 1980) - 1980;
  date = uint16_t((year << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
}

}  // namespace

TZipMemoFile::Member& TZipMemoFile::At(int index) {
  if (index < 0 || index >= Count()) throw Exception("Index out of range.");
  return members_[size_t(index)];
}

int TZipMemoFile::AddMember(const std::string& name, uint32_t externalAttributes) {
  Member member;
  member.name = name;
  member.externalAttributes = externalAttributes;
  members_.push_back(std::move(member));
  return Count() - 1;
}

void TZipMemoFile::SetMemberData(int index, std::span<const uint8_t> bytes) {
  Member& member = At(index);
  member.deflated = RawDeflate(bytes);
  member.uncompressedSize = uint32_t(bytes.size());
  member.crc = uint32_t(crc32(0, bytes.data(), uInt(bytes.size())));
  DosDateTime(std::time(nullptr), member.dosTime, member.dosDate);
}

void TZipMemoFile::SetMemberDate(int index, std::time_t when) {
  Member& member = At(index);
  DosDateTime(when, member.dosTime, member.dosDate);
}

std::vector<uint8_t> TZipMemoFile::Bytes() const {
  MemoryStream out;
  MemoryStream directory;
  if (members_.size() > kMaxMembers)
    throw Exception("A ZIP file holds at most 65535 files; this one would hold " +
                    std::to_string(members_.size()));
  auto writeCommon = [](Stream& s, const Member& m) {
    s.WriteU16(kVersion);
    s.WriteU16(IsAscii(m.name) ? 0 : kUtf8NamesFlag);
    s.WriteU16(kDeflate);
    s.WriteU16(m.dosTime);
    s.WriteU16(m.dosDate);
    s.WriteU32(m.crc);
    s.WriteU32(uint32_t(m.deflated.size()));
    s.WriteU32(m.uncompressedSize);
    s.WriteU16(uint16_t(m.name.size()));
    s.WriteU16(0);
  };
  for (const Member& member : members_) {
    uint32_t offset = CheckedZip32(out.Position());
    out.WriteU32(kLocalSignature);
    writeCommon(out, member);
    out.WriteBuffer(member.name.data(), member.name.size());
    out.WriteBytes(member.deflated);

    directory.WriteU32(kCentralSignature);
    directory.WriteU16(kVersion);
    writeCommon(directory, member);
    directory.WriteU16(0);  // comment length
    directory.WriteU16(0);  // disk number
    directory.WriteU16(0);  // internal attributes
    directory.WriteU32(member.externalAttributes);
    directory.WriteU32(offset);
    directory.WriteBuffer(member.name.data(), member.name.size());
  }
  uint32_t directoryOffset = CheckedZip32(out.Position());
  CheckedZip32(directoryOffset + directory.Size());
  out.WriteBytes(directory.Bytes());
  out.WriteU32(kEndSignature);
  out.WriteU16(0);
  out.WriteU16(0);
  out.WriteU16(uint16_t(Count()));
  out.WriteU16(uint16_t(Count()));
  out.WriteU32(uint32_t(directory.Size()));
  out.WriteU32(directoryOffset);
  out.WriteU16(0);
  return out.TakeBytes();
}

void TZipMemoFile::SaveToFile(const std::string& path) const {
  WriteFileAtomic(path, Bytes());
}

}  // namespace varnel

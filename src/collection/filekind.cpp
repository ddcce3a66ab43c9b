#include "collection/filekind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <optional>
#include <vector>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "collection/drawingkind.h"

namespace varnel {

namespace {

constexpr int64_t kOneMiB = 1 << 20;
constexpr int64_t kFiftyMiB = 50 * kOneMiB;
constexpr size_t kMacScanLength = 5600;

using Kind = TFileKind;

class SpanByteSource : public ByteSource {
 public:
  explicit SpanByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= bytes_.size()) return 0;
    size_t n = std::min<size_t>(count, bytes_.size() - size_t(offset));
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
  }

 private:
  std::span<const uint8_t> bytes_;
};

// The kind tests, each reading what it needs; a read past the end ends detection with the result
// found so far.
class Detector {
 public:
  Detector(ByteSource& source, int64_t size) : source_(source), size_(size) {}

  TFileKindInfo Run();

 private:
  std::optional<std::vector<uint8_t>> Read(uint64_t offset, size_t count) {
    std::vector<uint8_t> bytes(count);
    if (source_.ReadAt(offset, bytes.data(), count) != count) return std::nullopt;
    return bytes;
  }
  std::optional<uint32_t> U32At(uint64_t offset) {
    auto bytes = Read(offset, 4);
    return bytes ? std::optional(ReadU32LE(bytes->data())) : std::nullopt;
  }
  bool HeadIs(const char* text, size_t length) const {
    return std::memcmp(head_.data(), text, length) == 0;
  }

  bool ResourceOrIcon();
  bool MacTypeScan(uint64_t offset);
  bool ResourceMapPattern();
  void Module();
  void Riff();
  void Jpeg();
  bool ApplesAndIconTypes();
  void Archives();
  bool Targa();

  ByteSource& source_;
  int64_t size_;
  std::array<uint8_t, 8> head_{};
  size_t headLength_ = 0;
  TFileKindInfo result_;
};

TFileKindInfo Detector::Run() {
  if (size_ == 0) return {Kind::fkEmpty, 0};
  if (size_ < 0 || size_ <= 4) return {};
  headLength_ = source_.ReadAt(0, head_.data(), head_.size());
  if (headLength_ < 4) return {};
  uint16_t w0 = ReadU16LE(head_.data());
  uint16_t w1 = ReadU16LE(head_.data() + 2);
  if (w0 == 0 && w1 <= 2 && ResourceOrIcon()) return result_;
  if (w0 == 0 && w1 <= 2 && result_.kind != Kind::fkUnrecognised) return result_;
  if (w0 == 1) {
    if (U32At(18) == 40u) result_ = {size_ > kFiftyMiB ? Kind::fkTooLarge : Kind::fkIcon, 4};
    return result_;
  }
  if (HeadIs("MZ", 2)) {
    Module();
    return result_;
  }
  if (HeadIs("RIFF", 4)) {
    Riff();
    return result_;
  }
  const uint8_t* b = head_.data();
  if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF &&
      (b[3] == 0xE0 || b[3] == 0xFE || b[3] == 0xE1 || b[3] == 0xDB || b[3] == 0xED)) {
    Jpeg();
    return result_;
  }
  if (HeadIs("GIF\0", 4) || HeadIs("GIF8", 4)) return {Kind::fkGif, 0};
  if (HeadIs("BM", 2)) return {Kind::fkBitmap, 0};
  if (headLength_ == 8 && HeadIs("\x89PNG\r\n\x1A\n", 8)) return {Kind::fkPng, 0};
  if (HeadIs("8BPS", 4)) {
    if (headLength_ < 6) return result_;
    int version = ReadU16BE(b + 4);
    // Version 2: a large document, its lengths of 8 bytes.
    return version == 1 || version == 2 ? TFileKindInfo{Kind::fkPsd, version} : result_;
  }
  if (HeadIs("ICC0", 4)) {
    auto rest = Read(4, 8);
    if (rest && ReadU32LE(rest->data()) == 1 && std::memcmp(rest->data() + 4, "ICON", 4) == 0)
      return {Kind::fkCollection, 0};
    return result_;
  }
  if (HeadIs("\xB7ICP", 4)) return {Kind::fkIconProject, headLength_ > 4 ? b[4] : 0};
  if (ApplesAndIconTypes()) return result_;
  if ((b[0] == 0x0A || b[0] == 0x0C) && (b[1] == 0 || b[1] == 2 || b[1] == 3 || b[1] == 5) &&
      b[2] < 2 && (b[3] == 0 || b[3] == 1 || b[3] == 4 || b[3] == 8) && size_ > 128)
    return {Kind::fkPcx, 0};
  // The first volume of a split ZIP set begins with the spanning mark before its first member.
  if (HeadIs("PK\x03\x04", 4) || HeadIs("PK\x07\x08PK\x03\x04", 8) || HeadIs("Rar!", 4)) {
    Archives();
    return result_;
  }
  if (HeadIs("II*\0", 4) || HeadIs("MM\0*", 4)) return {Kind::fkTiff, 42};
  if (b[0] == 0xFF && b[1] == 0x02 && b[2] == 0x00 && size_ > 20 &&
      (std::isalnum(b[3]) || b[3] == '-' || b[3] == '.' || b[3] == '_'))
    return {Kind::fkResource16, 0};
  if (b[1] < 2 && ((b[2] >= 1 && b[2] <= 3) || (b[2] >= 9 && b[2] <= 11)) && Targa())
    return {Kind::fkTarga, 0};
  auto head = Read(0, size_t(std::min<int64_t>(size_, kDrawingHeadBytes)));
  if (auto drawing = head ? DetectDrawingKind(*head) : std::nullopt) return *drawing;
  return result_;
}

// Zero first word: a 32-bit resource file, an icon or cursor file, or Mac resource data.
bool Detector::ResourceOrIcon() {
  auto d1 = U32At(4);
  if (!d1) return false;
  if (ReadU32LE(head_.data()) == 0 && *d1 == 32) {
    auto a = U32At(8), b = U32At(12);
    if (!a || !b || *a != 0xFFFF || *b != 0xFFFF || size_ <= 20) return false;
    auto c = U32At(16), d = U32At(20);
    if (c == 0u && d == 0u) result_ = {Kind::fkResource32, 0};
    return result_.kind != Kind::fkUnrecognised;
  }
  if (ReadU16LE(head_.data() + 4) > 0) result_ = {Kind::fkIcon, ReadU16LE(head_.data() + 2)};
  uint32_t m = ReadU32BE(head_.data() + 4);
  if (m > 132 && int64_t(m) < size_ - 4) {
    auto copy = Read(uint64_t(m) + 4, 4);
    if (!copy) return false;
    bool mac = std::memcmp(copy->data(), head_.data() + 4, 4) == 0 ? MacTypeScan(uint64_t(m) + 8)
                                                                   : ResourceMapPattern();
    if (mac) result_ = {Kind::fkMacIcon, 0};
    if (size_ > kOneMiB) result_ = {Kind::fkTooLarge, 0};
  }
  return false;
}

// True when one of the Mac icon type codes occurs in the bytes scanned from offset; when none
// does, the file is marked as refused.
bool Detector::MacTypeScan(uint64_t offset) {
  static const char* const kTypes[] = {
      "ICN#", "h8mk", "icl4", "icl8", "il32", "ich#", "ich4", "ich8", "ih32", "ics#", "ics4",
      "ics8", "is32", "it32", "icns", "ic08", "ic09", "ic10", "ic11", "ic12", "ic13", "ic14",
      // the types of current families: PNG, JPEG 2000 and ARGB pictures, and their index
      "ic07", "icp4", "icp5", "icp6", "ic04", "ic05", "icsb", "icsB", "sb24", "SB24", "TOC "};
  std::vector<uint8_t> bytes(kMacScanLength);
  bytes.resize(source_.ReadAt(offset, bytes.data(), bytes.size()));
  for (const char* type : kTypes)
    if (std::search(bytes.begin(), bytes.end(), type, type + 4) != bytes.end()) return true;
  result_ = {Kind::fkTooLarge, 0};
  return false;
}

bool Detector::ResourceMapPattern() {
  for (uint64_t offset : {271u, 287u}) {
    auto bytes = Read(offset, 10);
    if (!bytes) continue;
    uint16_t v[5];
    for (int i = 0; i < 5; ++i) v[i] = ReadU16LE(bytes->data() + 2 * i);
    if (v[1] - v[0] == 1 && v[2] - v[1] == 1 && v[3] - v[2] == 2 && v[3] - v[4] == 1) return true;
  }
  return false;
}

void Detector::Module() {
  auto where = Read(60, 2);
  if (!where) return;
  uint16_t offset = ReadU16LE(where->data());
  auto signature = Read(offset, 4);
  auto ne = Read(offset, 2);
  if (ne && std::memcmp(ne->data(), "NE", 2) == 0)
    result_ = {Kind::fkModule, 1};
  else if (signature && std::memcmp(signature->data(), "PE\0\0", 4) == 0)
    result_ = {Kind::fkModule, 2};
}

void Detector::Riff() {
  uint32_t r = ReadU32LE(head_.data() + 4);
  if (size_ != int64_t(r) && size_ != int64_t(r) + 4 && size_ != int64_t(r) + 8) return;
  auto form = Read(8, 4);
  if (!form) return;
  if (std::memcmp(form->data(), "ACON", 4) == 0)
    result_ = {Kind::fkAniCursor, 0};
  else if (std::memcmp(form->data(), "PAL ", 4) == 0)
    result_ = {Kind::fkRiffPalette, 0};
  if (result_.kind != Kind::fkUnrecognised && size_ > kOneMiB) result_ = {Kind::fkTooLarge, 0};
}

// Walks the JPEG markers for the frame header's component count.
void Detector::Jpeg() {
  int components = -1;
  uint64_t at = 0;
  while (true) {
    auto marker = Read(at, 2);
    if (!marker || (*marker)[0] != 0xFF) break;
    uint8_t code = (*marker)[1];
    if (code == 0x01 || (code >= 0xD0 && code <= 0xD9)) {
      at += 2;
      continue;
    }
    auto length = Read(at + 2, 2);
    if (!length) break;
    if (code == 0xC0 || code == 0xC2) {
      auto count = Read(at + 4 + 5, 1);
      if (count) components = (*count)[0];
      break;
    }
    at += 2 + ReadU16BE(length->data());
  }
  if (components == 4)
    result_ = {Kind::fkCmykJpeg, 4};
  else
    result_ = {Kind::fkJpeg, components};
  if (size_ > kFiftyMiB) result_ = {Kind::fkTooLarge, 0};
}

bool Detector::ApplesAndIconTypes() {
  if (!HeadIs("icns", 4) && !HeadIs("\x00\x05\x16\x07", 4)) return false;
  if (MacTypeScan(4)) result_ = {Kind::fkMacIcon, 0};
  // A family of PNG and JPEG 2000 pictures up to 1024 pixels is often larger than the 1 MiB
  // allowed to resource forks and AppleDouble files.
  bool family = HeadIs("icns", 4);
  if (size_ > (family ? kFiftyMiB : kOneMiB)) result_ = {Kind::fkTooLarge, 0};
  return true;
}

void Detector::Archives() {
  result_ = {Kind::fkZip, 0};
  if (HeadIs("Rar!", 4) && headLength_ >= 7 &&
      std::memcmp(head_.data() + 4, "\x1A\x07\x00", 3) == 0)
    result_ = {Kind::fkRar, 0};
}

bool Detector::Targa() {
  if (size_ < 19) return false;
  auto header = Read(0, 18);
  if (!header) return false;
  uint8_t depth = (*header)[7], bits = (*header)[16];
  bool mapDepth = depth == 0 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
  bool pixelDepth = bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
  return mapDepth && pixelDepth;
}

}  // namespace

const char* FileKindName(TFileKind kind) {
  static const char* const kNames[] = {
      "fkUnrecognised", "fkEmpty",       "fkUnreadable",  "fkTooLarge",   "fkIcon",
      "fkModule",       "fkAniCursor",   "fkRiffPalette", "fkJpeg",       "fkCmykJpeg",
      "fkBitmap",       "fkGif",         "fkPng",         "fkPsd",        "fkCollection",
      "fkTarga",        "fkIconProject", "fkPcx",         "fkTiff",       "fkMacIcon",
      "fkZip",          "fkRar",         "fkResource32",  "fkResource16", "fkVectorDrawing",
      "fkDataUri"};
  return kNames[int(kind)];
}

TFileKindInfo DetectFileKind(ByteSource& source, int64_t size) {
  return Detector(source, size).Run();
}

TFileKindInfo DetectFileKind(const std::string& path) {
  if (SharedFile file = MappedFile::TryOpen(path)) return DetectFileKind(*file);
  // Files too short for any kind stay what their size makes them, readable or not.
  int64_t size = FileSizeOf(path);
  if (size == 0) return {TFileKind::fkEmpty, 0};
  return {size > 4 ? TFileKind::fkUnreadable : TFileKind::fkUnrecognised, 0};
}

TFileKindInfo DetectFileKind(const MappedFile& file) {
  return DetectFileKindOfBytes(file.Bytes());
}

TFileKindInfo DetectFileKindOfBytes(std::span<const uint8_t> bytes) {
  SpanByteSource source(bytes);
  return DetectFileKind(source, int64_t(bytes.size()));
}

}  // namespace varnel

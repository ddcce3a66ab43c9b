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
#include "collection/kindprobe.h"
#include "collection/kindreaders.h"

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

// A file shorter than its shortest kind, or without a kind.
constexpr TFileKindInfo kNotRecognised{};

// A result that ends detection when it names a kind.
std::optional<TFileKindInfo> KindFound(TFileKindInfo result) {
  if (result.kind == Kind::fkUnrecognised) return std::nullopt;
  return result;
}

bool IsMacType(const std::vector<uint8_t>& bytes) {
  static const char* const kTypes[] = {
      "ICN#", "h8mk", "icl4", "icl8", "il32", "ich#", "ich4", "ich8", "ih32", "ics#", "ics4",
      "ics8", "is32", "it32", "icns", "ic08", "ic09", "ic10", "ic11", "ic12", "ic13", "ic14",
      // the types of current families: PNG, JPEG 2000 and ARGB pictures, and their index
      "ic07", "icp4", "icp5", "icp6", "ic04", "ic05", "icsb", "icsB", "sb24", "SB24", "TOC "};
  for (const char* type : kTypes)
    if (std::search(bytes.begin(), bytes.end(), type, type + 4) != bytes.end()) return true;
  return false;
}

// The Mac icon kind when one of the Mac icon type codes occurs in the bytes scanned from offset;
// when none does, the file is refused.
TFileKindInfo MacTypeScan(KindProbe& probe, uint64_t offset) {
  return IsMacType(probe.ReadUpTo(offset, kMacScanLength)) ? TFileKindInfo{Kind::fkMacIcon, 0}
                                                           : TFileKindInfo{Kind::fkTooLarge, 0};
}

bool ResourceMapPattern(KindProbe& probe) {
  for (uint64_t offset : {271u, 287u}) {
    auto bytes = probe.Read(offset, 10);
    if (!bytes) continue;
    uint16_t v[5];
    for (int i = 0; i < 5; ++i) v[i] = ReadU16LE(bytes->data() + 2 * i);
    if (v[1] - v[0] == 1 && v[2] - v[1] == 1 && v[3] - v[2] == 2 && v[3] - v[4] == 1) return true;
  }
  return false;
}

// A 32-bit resource file: its empty first entry.
std::optional<TFileKindInfo> Resource32(KindProbe& probe) {
  auto a = probe.U32At(8), b = probe.U32At(12);
  if (!a || !b || *a != 0xFFFF || *b != 0xFFFF || probe.Size() <= 20) return std::nullopt;
  auto c = probe.U32At(16), d = probe.U32At(20);
  if (c == 0u && d == 0u) return TFileKindInfo{Kind::fkResource32, 0};
  return std::nullopt;
}

// An icon or cursor file by its image count, which Mac resource data (its map's copy of the
// header, or the map's pattern) overrides.
std::optional<TFileKindInfo> IconOrMacResource(KindProbe& probe) {
  const uint8_t* head = probe.Head().data();
  TFileKindInfo result;
  if (ReadU16LE(head + 4) > 0) result = {Kind::fkIcon, ReadU16LE(head + 2)};
  uint32_t m = ReadU32BE(head + 4);
  if (m > 132 && int64_t(m) < probe.Size() - 4) {
    auto copy = probe.Read(uint64_t(m) + 4, 4);
    if (!copy) return KindFound(result);
    if (std::memcmp(copy->data(), head + 4, 4) == 0) {
      TFileKindInfo scanned = MacTypeScan(probe, uint64_t(m) + 8);
      if (scanned.kind == Kind::fkTooLarge) return scanned;
      result = scanned;
    } else if (ResourceMapPattern(probe)) {
      result = {Kind::fkMacIcon, 0};
    }
    if (probe.Size() > kOneMiB) result = {Kind::fkTooLarge, 0};
  }
  return KindFound(result);
}

// The component count of the frame header, found by walking the markers; -1 without one.
int JpegComponents(KindProbe& probe) {
  uint64_t at = 0;
  while (true) {
    auto marker = probe.Read(at, 2);
    if (!marker || (*marker)[0] != 0xFF) return -1;
    uint8_t code = (*marker)[1];
    if (code == 0x01 || (code >= 0xD0 && code <= 0xD9)) {
      at += 2;
      continue;
    }
    auto length = probe.Read(at + 2, 2);
    if (!length) return -1;
    if (code == 0xC0 || code == 0xC2) {
      auto count = probe.Read(at + 4 + 5, 1);
      return count ? (*count)[0] : -1;
    }
    at += 2 + ReadU16BE(length->data());
  }
}

bool TargaHeader(KindProbe& probe) {
  if (probe.Size() < 19) return false;
  auto header = probe.Read(0, 18);
  if (!header) return false;
  uint8_t depth = (*header)[7], bits = (*header)[16];
  bool mapDepth = depth == 0 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
  bool pixelDepth = bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
  return mapDepth && pixelDepth;
}

}  // namespace

KindProbe::KindProbe(ByteSource& source, int64_t size) : source_(source), size_(size) {
  headLength_ = source_.ReadAt(0, head_.data(), head_.size());
}

bool KindProbe::HeadIs(const char* text, size_t length) const {
  return std::memcmp(head_.data(), text, length) == 0;
}

std::optional<std::vector<uint8_t>> KindProbe::Read(uint64_t offset, size_t count) {
  std::vector<uint8_t> bytes(count);
  if (source_.ReadAt(offset, bytes.data(), count) != count) return std::nullopt;
  return bytes;
}

std::optional<uint32_t> KindProbe::U32At(uint64_t offset) {
  auto bytes = Read(offset, 4);
  return bytes ? std::optional(ReadU32LE(bytes->data())) : std::nullopt;
}

std::vector<uint8_t> KindProbe::ReadUpTo(uint64_t offset, size_t count) {
  std::vector<uint8_t> bytes(count);
  bytes.resize(source_.ReadAt(offset, bytes.data(), bytes.size()));
  return bytes;
}

// Zero first word: a 32-bit resource file, an icon or cursor file, or Mac resource data.
std::optional<TFileKindInfo> DetectResourceOrIcon(KindProbe& probe) {
  const uint8_t* head = probe.Head().data();
  if (ReadU16LE(head) != 0 || ReadU16LE(head + 2) > 2) return std::nullopt;
  auto d1 = probe.U32At(4);
  if (!d1) return std::nullopt;
  if (ReadU32LE(head) == 0 && *d1 == 32) return Resource32(probe);
  return IconOrMacResource(probe);
}

// A first word of 1: an icon image without its directory when a DIB header follows.
std::optional<TFileKindInfo> DetectBareIcon(KindProbe& probe) {
  if (ReadU16LE(probe.Head().data()) != 1) return std::nullopt;
  if (probe.U32At(18) != 40u) return kNotRecognised;
  return TFileKindInfo{probe.Size() > kFiftyMiB ? Kind::fkTooLarge : Kind::fkIcon, 4};
}

std::optional<TFileKindInfo> DetectModule(KindProbe& probe) {
  if (!probe.HeadIs("MZ", 2)) return std::nullopt;
  auto where = probe.Read(60, 2);
  if (!where) return kNotRecognised;
  uint16_t offset = ReadU16LE(where->data());
  auto signature = probe.Read(offset, 4);
  auto ne = probe.Read(offset, 2);
  if (ne && std::memcmp(ne->data(), "NE", 2) == 0) return TFileKindInfo{Kind::fkModule, 1};
  if (signature && std::memcmp(signature->data(), "PE\0\0", 4) == 0)
    return TFileKindInfo{Kind::fkModule, 2};
  return kNotRecognised;
}

// A RIFF file whose length field fits the file is the kind of the row naming its form.
std::optional<TFileKindInfo> DetectRiffForm(KindProbe& probe) {
  if (!probe.HeadIs("RIFF", 4)) return std::nullopt;
  int64_t size = probe.Size();
  uint32_t r = ReadU32LE(probe.Head().data() + 4);
  if (size != int64_t(r) && size != int64_t(r) + 4 && size != int64_t(r) + 8) return kNotRecognised;
  auto form = probe.Read(8, 4);
  if (!form) return kNotRecognised;
  for (const FileFormat* format : FileFormats()) {
    if (!format->riffForm || std::memcmp(form->data(), format->riffForm, 4) != 0) continue;
    if (size > format->riffSizeLimit) return TFileKindInfo{Kind::fkTooLarge, 0};
    return TFileKindInfo{*format->kind, 0};
  }
  return kNotRecognised;
}

std::optional<TFileKindInfo> DetectJpeg(KindProbe& probe) {
  const uint8_t* b = probe.Head().data();
  if (!(b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF &&
        (b[3] == 0xE0 || b[3] == 0xFE || b[3] == 0xE1 || b[3] == 0xDB || b[3] == 0xED)))
    return std::nullopt;
  int components = JpegComponents(probe);
  if (probe.Size() > kFiftyMiB) return TFileKindInfo{Kind::fkTooLarge, 0};
  if (components == 4) return TFileKindInfo{Kind::fkCmykJpeg, 4};
  return TFileKindInfo{Kind::fkJpeg, components};
}

std::optional<TFileKindInfo> DetectGif(KindProbe& probe) {
  if (!probe.HeadIs("GIF\0", 4) && !probe.HeadIs("GIF8", 4)) return std::nullopt;
  return TFileKindInfo{Kind::fkGif, 0};
}

std::optional<TFileKindInfo> DetectBitmap(KindProbe& probe) {
  if (!probe.HeadIs("BM", 2)) return std::nullopt;
  return TFileKindInfo{Kind::fkBitmap, 0};
}

std::optional<TFileKindInfo> DetectPng(KindProbe& probe) {
  if (probe.HeadLength() != 8 || !probe.HeadIs("\x89PNG\r\n\x1A\n", 8)) return std::nullopt;
  return TFileKindInfo{Kind::fkPng, 0};
}

std::optional<TFileKindInfo> DetectPsd(KindProbe& probe) {
  if (!probe.HeadIs("8BPS", 4)) return std::nullopt;
  if (probe.HeadLength() < 6) return kNotRecognised;
  int version = ReadU16BE(probe.Head().data() + 4);
  // Version 2: a large document, its lengths of 8 bytes.
  if (version != 1 && version != 2) return kNotRecognised;
  return TFileKindInfo{Kind::fkPsd, version};
}

std::optional<TFileKindInfo> DetectCollection(KindProbe& probe) {
  if (!probe.HeadIs("ICC0", 4)) return std::nullopt;
  auto rest = probe.Read(4, 8);
  if (rest && ReadU32LE(rest->data()) == 1 && std::memcmp(rest->data() + 4, "ICON", 4) == 0)
    return TFileKindInfo{Kind::fkCollection, 0};
  return kNotRecognised;
}

std::optional<TFileKindInfo> DetectIconProject(KindProbe& probe) {
  if (!probe.HeadIs("\xB7ICP", 4)) return std::nullopt;
  return TFileKindInfo{Kind::fkIconProject, probe.HeadLength() > 4 ? probe.Head()[4] : 0};
}

// Mac icon families and AppleDouble files.
std::optional<TFileKindInfo> DetectMacIcon(KindProbe& probe) {
  bool family = probe.HeadIs("icns", 4);
  if (!family && !probe.HeadIs("\x00\x05\x16\x07", 4)) return std::nullopt;
  TFileKindInfo result = MacTypeScan(probe, 4);
  // A family of PNG and JPEG 2000 pictures up to 1024 pixels is often larger than the 1 MiB
  // allowed to resource forks and AppleDouble files.
  if (probe.Size() > (family ? kFiftyMiB : kOneMiB)) result = {Kind::fkTooLarge, 0};
  return result;
}

// The first volume of a split ZIP set begins with the spanning mark before its first member.
std::optional<TFileKindInfo> DetectArchive(KindProbe& probe) {
  if (!probe.HeadIs("PK\x03\x04", 4) && !probe.HeadIs("PK\x07\x08PK\x03\x04", 8) &&
      !probe.HeadIs("Rar!", 4))
    return std::nullopt;
  if (probe.HeadIs("Rar!", 4) && probe.HeadLength() >= 7 &&
      std::memcmp(probe.Head().data() + 4, "\x1A\x07\x00", 3) == 0)
    return TFileKindInfo{Kind::fkRar, 0};
  return TFileKindInfo{Kind::fkZip, 0};
}

std::optional<TFileKindInfo> DetectTiff(KindProbe& probe) {
  if (!probe.HeadIs("II*\0", 4) && !probe.HeadIs("MM\0*", 4)) return std::nullopt;
  return TFileKindInfo{Kind::fkTiff, 42};
}

std::optional<TFileKindInfo> DetectResource16(KindProbe& probe) {
  const uint8_t* b = probe.Head().data();
  if (b[0] == 0xFF && b[1] == 0x02 && b[2] == 0x00 && probe.Size() > 20 &&
      (std::isalnum(b[3]) || b[3] == '-' || b[3] == '.' || b[3] == '_'))
    return TFileKindInfo{Kind::fkResource16, 0};
  return std::nullopt;
}

std::optional<TFileKindInfo> DetectTarga(KindProbe& probe) {
  const uint8_t* b = probe.Head().data();
  if (b[1] < 2 && ((b[2] >= 1 && b[2] <= 3) || (b[2] >= 9 && b[2] <= 11)) && TargaHeader(probe))
    return TFileKindInfo{Kind::fkTarga, 0};
  return std::nullopt;
}

std::optional<TFileKindInfo> DetectDrawing(KindProbe& probe) {
  auto head = probe.Read(0, size_t(std::min<int64_t>(probe.Size(), kDrawingHeadBytes)));
  return head ? DetectDrawingKind(*head) : std::nullopt;
}

const char* FileKindName(TFileKind kind) {
  return FormatOf(kind).kindName;
}

TFileKindInfo DetectFileKind(ByteSource& source, int64_t size) {
  if (size == 0) return {Kind::fkEmpty, 0};
  if (size < 0 || size <= 4) return kNotRecognised;
  KindProbe probe(source, size);
  if (probe.HeadLength() < 4) return kNotRecognised;
  for (const FileFormat* format : FileFormats())
    if (format->detect)
      if (std::optional<TFileKindInfo> found = format->detect(probe)) return *found;
  return kNotRecognised;
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

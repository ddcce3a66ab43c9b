#include "cli/noiconsreason.h"

#include <algorithm>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "base/mappedfile.h"
#include "cli/command.h"
#include "cli/filekinddescription.h"
#include "collection/filekind.h"
#include "resources/pefile.h"

namespace varnel::cli {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

std::string Range(uint64_t from, uint64_t to) {
  return "bytes " + std::to_string(from) + " to " + std::to_string(to);
}

// What an icon or cursor file's directory claims beyond its bytes: its entries, or an image.
std::string IconDirectoryDamage(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) return "";
  uint64_t count = ReadU16LE(&bytes[4]);
  uint64_t directoryEnd = kHeaderSize + count * kEntrySize;
  std::string images = CountText(int64_t(count), "image");
  std::string end = ", the file ends after " + CountText(int64_t(bytes.size()), "byte");
  if (directoryEnd > bytes.size())
    return "its directory of " + images + " takes " + Range(0, directoryEnd) + end;
  for (uint64_t i = 0; i < count; ++i) {
    const uint8_t* entry = &bytes[kHeaderSize + i * kEntrySize];
    uint64_t size = ReadU32LE(entry + 8), offset = ReadU32LE(entry + 12);
    if (offset + size > bytes.size())
      return "image " + std::to_string(i + 1) + " of " + std::to_string(count) + " takes " +
             Range(offset, offset + size) + end;
  }
  return count ? "none of its " + images + " could be decoded" : "its directory lists no image";
}

// What decoding a PE module raises, or where its sections run past the end of the file: a
// cut-off module gives no icon at all.
std::string ModuleDamage(const std::string& path) {
  TPEResourceModule module;
  try {
    module.DecodeFile(path);
  } catch (const std::exception& error) {
    return error.what();
  }
  uint64_t end = 0;
  for (int i = 0; i < module.SectionCount(); ++i) {
    const auto& header = module.Section(i).Header;
    end = std::max<uint64_t>(end, uint64_t(ReadU32LE(&header[20])) + ReadU32LE(&header[16]));
  }
  int64_t size = FileSizeOf(path);
  if (size < 0 || end <= uint64_t(size)) return "";
  return "cut off: its sections take " + CountText(int64_t(end), "byte") + ", the file holds " +
         std::to_string(size);
}

// A reader's message without the path the caller prints anyway.
std::string WithoutPath(std::string message, const std::string& path) {
  for (std::string joiner : {", file: ", ": "})
    if (message.ends_with(joiner + path)) message.resize(message.size() - (joiner + path).size());
  return message;
}

bool IsNoImageMessage(const std::string& message) {
  return message.starts_with("Images not found") || message.starts_with("Can't found image");
}

}  // namespace

std::string NoIconsReason(const std::string& path, const std::vector<std::string>& readErrors) {
  TFileKindInfo info = DetectFileKind(path);
  std::string kind = DescribeFileKind(info, path);
  switch (info.kind) {
    case TFileKind::fkEmpty:
    case TFileKind::fkUnrecognised:
    case TFileKind::fkUnreadable:
    case TFileKind::fkTooLarge:
      return kind;
    default:
      break;
  }
  bool iconDirectory = info.kind == TFileKind::fkIcon && (info.subKind == 1 || info.subKind == 2);
  if (iconDirectory) {
    if (SharedFile file = MappedFile::TryOpen(path)) {
      std::string damage = IconDirectoryDamage(file->Bytes());
      if (!damage.empty()) return "damaged " + kind + ": " + damage;
    }
  }
  if (info.kind == TFileKind::fkModule && info.subKind == 2) {
    std::string damage = ModuleDamage(path);
    if (!damage.empty()) return "damaged " + kind + ": " + damage;
  }
  for (const std::string& error : readErrors)
    if (!IsNoImageMessage(error)) return "damaged " + kind + ": " + WithoutPath(error, path);
  return kind + " holding no icons";
}

}  // namespace varnel::cli

#include "resources/modulesignature.h"

#include <algorithm>

#include "base/byteorder.h"
#include "resources/pefile.h"

namespace varnel {

namespace {

constexpr size_t kOptionalCheckSum = 64;
constexpr size_t kDirectoryCountPE32 = 92;
constexpr size_t kDirectoryCountPE32Plus = 108;
constexpr size_t kDirectoryEntrySize = 8;
constexpr uint64_t kCertificateAlignment = 8;

struct OptionalHeaderSpan {
  size_t offset;
  size_t size;
};

std::optional<OptionalHeaderSpan> FindOptionalHeader(std::span<const uint8_t> image) {
  if (image.size() < pe::kDosHeaderSize || image[0] != 'M' || image[1] != 'Z') return {};
  uint64_t lfanew = ReadU32LE(&image[pe::kLfanewOffset]);
  uint64_t optional = lfanew + 4 + pe::kCoffHeaderSize;
  if (optional > image.size() || ReadU32LE(&image[lfanew]) != 0x4550) return {};
  uint64_t size = ReadU16LE(&image[lfanew + 4 + 16]);
  if (optional + size > image.size() || size < kOptionalCheckSum + 4) return {};
  return OptionalHeaderSpan{size_t(optional), size_t(size)};
}

// The end of the certificate table when it lies at the end of a file of fileSize bytes.
bool TableEndsFile(uint64_t offset, uint64_t size, uint64_t fileSize) {
  uint64_t end = offset + size;
  uint64_t padded =
      (end + kCertificateAlignment - 1) / kCertificateAlignment * kCertificateAlignment;
  return size > 0 && offset < fileSize && end <= fileSize && padded >= fileSize;
}

}  // namespace

std::optional<PEGuardFields> LocatePEGuardFields(std::span<const uint8_t> image) {
  std::optional<OptionalHeaderSpan> header = FindOptionalHeader(image);
  if (!header) return {};
  PEGuardFields fields{header->offset + kOptionalCheckSum, {}};
  uint16_t magic = ReadU16LE(&image[header->offset]);
  if (magic != pe::kMagicPE32 && magic != pe::kMagicPE32Plus) return {};
  size_t countField = magic == pe::kMagicPE32Plus ? kDirectoryCountPE32Plus : kDirectoryCountPE32;
  if (countField + 4 > header->size) return fields;
  uint32_t count = ReadU32LE(&image[header->offset + countField]);
  size_t entry = countField + 4 + pe::kSecurityDirectory * kDirectoryEntrySize;
  if (count > pe::kSecurityDirectory && entry + kDirectoryEntrySize <= header->size)
    fields.certificateEntryOffset = header->offset + entry;
  return fields;
}

bool RemoveCertificateTable(std::vector<uint8_t>& image) {
  std::optional<PEGuardFields> fields = LocatePEGuardFields(image);
  if (!fields || !fields->certificateEntryOffset) return false;
  uint8_t* entry = &image[*fields->certificateEntryOffset];
  uint32_t offset = ReadU32LE(entry), size = ReadU32LE(entry + 4);
  if (offset == 0 && size == 0) return false;
  std::fill_n(entry, kDirectoryEntrySize, 0);
  if (TableEndsFile(offset, size, image.size())) image.resize(offset);
  return true;
}

bool RemoveCertificateTable(TPEModule& module, uint64_t fileSize) {
  if (module.DataDirectoryCount() <= pe::kSecurityDirectory) return false;
  DataDirectoryEntry entry = module.DataDirectory(pe::kSecurityDirectory);
  if (entry.VirtualAddress == 0 && entry.Size == 0) return false;
  module.SetDataDirectory(pe::kSecurityDirectory, {});
  uint64_t overlayStart = fileSize - std::min<uint64_t>(module.Overlay.size(), fileSize);
  if (entry.VirtualAddress >= overlayStart &&
      TableEndsFile(entry.VirtualAddress, entry.Size, fileSize))
    module.Overlay = module.Overlay.Slice(0, entry.VirtualAddress - overlayStart);
  return true;
}

void RefreshNonZeroCheckSum(std::vector<uint8_t>& image) {
  std::optional<PEGuardFields> fields = LocatePEGuardFields(image);
  if (!fields || ReadU32LE(&image[fields->checkSumOffset]) == 0) return;
  WriteU32LE(&image[fields->checkSumOffset], ImageCheckSum(image, fields->checkSumOffset));
}

}  // namespace varnel

#pragma once
// Windows executable images (PE32 and PE32+): headers, sections and the resource tree, read
// through a read-only mapping and written back with a rebuilt resource section.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/byteblock.h"
#include "base/errors.h"
#include "base/mappedfile.h"
#include "resources/resourcedetails.h"
#include "resources/resourcerecords.h"

namespace varnel {

class EPEException : public Exception {
 public:
  using Exception::Exception;
};

class TPEModule;

// Field offsets of the structures an image is made of.
namespace pe {
constexpr size_t kDosHeaderSize = 64;
constexpr size_t kLfanewOffset = 60;
constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint16_t kMagicPE32 = 0x010B;
constexpr uint16_t kMagicPE32Plus = 0x020B;
constexpr uint32_t kScnCode = 0x20;
constexpr uint32_t kScnInitializedData = 0x40;
constexpr uint32_t kScnUninitializedData = 0x80;
constexpr uint32_t kScnDiscardable = 0x02000000;
constexpr uint32_t kScnExecute = 0x20000000;
constexpr int kResourceDirectory = 2;
constexpr int kSecurityDirectory = 4;
}  // namespace pe

// Where one section lands in a rewritten image.
struct SectionPlacement {
  uint32_t pointerToRawData;
  uint32_t virtualAddress;
  uint32_t virtualSize;
  uint32_t sizeOfRawData;
};

struct DataDirectoryEntry {
  uint32_t VirtualAddress = 0;
  uint32_t Size = 0;
};

// One section: its header, and its raw bytes once they were taken from the source image.
class TImageSection {
 public:
  TImageSection(TPEModule& parent, std::span<const uint8_t> header);

  TPEModule& Parent() const { return *parent_; }
  std::array<uint8_t, pe::kSectionHeaderSize> Header{};
  ByteBlock RawData;
  bool Loaded = false;
  // Bytes the section occupies in memory beyond those the file holds.
  uint32_t UninitializedTail = 0;
  // The virtual address the section had when it was read (the layout must not move it).
  uint32_t OriginalVirtualAddress = 0;

  std::string Name() const;
  uint32_t VirtualSize() const { return Field(8); }
  uint32_t VirtualAddress() const { return Field(12); }
  uint32_t SizeOfRawData() const { return Field(16); }
  uint32_t PointerToRawData() const { return Field(20); }
  uint32_t Characteristics() const { return Field(36); }
  void SetVirtualSize(uint32_t value) { SetField(8, value); }
  void SetVirtualAddress(uint32_t value) { SetField(12, value); }
  void SetSizeOfRawData(uint32_t value) { SetField(16, value); }
  void SetPointerToRawData(uint32_t value) { SetField(20, value); }

 private:
  uint32_t Field(size_t offset) const;
  void SetField(size_t offset, uint32_t value);

  TPEModule* parent_;
};

// An image as separately editable pieces. When a keeper keeps the source bytes alive (a mapped
// file, a shared buffer), the pieces view them; otherwise each piece is copied out when it is
// first needed, so that reading only the resources copies only the resource section.
class TPEModule : public TResourceModule {
 public:
  TPEModule() = default;
  ~TPEModule() override;

  // Parses an image. Without a keeper the bytes must stay valid until the module is destroyed,
  // cleared or LoadAllSections has run.
  virtual void Decode(std::span<const uint8_t> image, std::shared_ptr<const void> keeper);
  // Assigns file offsets, virtual addresses and header totals before writing.
  virtual void RecalculateLayout();

  // Decodes a file through a read-only mapping; decoding errors leave what was read before them.
  void LoadFromFile(const std::string& fileName) override;
  void LoadFromFile(const SharedFile& file);
  // As LoadFromFile, but every error reaches the caller.
  void DecodeFile(const std::string& fileName);
  // Decodes a file mapped before; the module's pieces keep the mapping alive.
  void DecodeFile(const SharedFile& file);
  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) override;
  // Writes a temporary file that replaces the target only when complete.
  void SaveToFile(const std::string& fileName) override;

  int ResourceCount() const override { return 0; }
  TResourceDetails* ResourceDetails(int index) const override;
  int IndexOfResource(const TResourceDetails*) const override { return -1; }

  bool IsPE32Plus() const;
  DataDirectoryEntry DataDirectory(int index) const;
  void SetDataDirectory(int index, DataDirectoryEntry entry);
  int DataDirectoryCount() const;
  int SectionCount() const { return int(Sections.size()); }
  TImageSection& Section(int index) const;
  int FindDirectorySection(int directoryIndex) const;
  // The first section whose raw data holds rva, or -1.
  int FindSectionContaining(uint32_t rva) const;

  // Takes the section's bytes from the source image (at most once).
  void LoadRawData(TImageSection& section);
  // Takes every section and lets the source image go.
  void LoadAllSections();

  uint32_t OptionalField(size_t offset) const;
  void SetOptionalField(size_t offset, uint32_t value);
  uint16_t NumberOfSectionsField() const;
  uint16_t SizeOfOptionalHeaderField() const;

  std::array<uint8_t, pe::kDosHeaderSize> DOSHeader{};
  ByteBlock DOSStub;
  std::array<uint8_t, pe::kCoffHeaderSize> COFFHeader{};
  std::vector<uint8_t> OptionalHeader;
  std::vector<std::unique_ptr<TImageSection>> Sections;
  ByteBlock HeaderGap;
  ByteBlock Overlay;

 protected:
  virtual void Clear();
  // The whole image as SaveToStream writes it.
  std::vector<uint8_t> BuildImage();

 private:
  void DecodeHeaders(std::span<const uint8_t> image);
  void DecodeSectionTable(std::span<const uint8_t> image, size_t tableOffset);
  void KeepOverlay(std::span<const uint8_t> image);
  void CheckWritable() const;
  void LayOutSections(uint32_t firstRaw);
  void CheckSectionsMayMove(const std::vector<SectionPlacement>& placements) const;
  void RelocateMovedDirectories();
  void MoveOverlayReferences(uint64_t newOverlayStart);
  // length bytes of the source from offset (both clamped to it), viewed or copied.
  ByteBlock SourcePart(uint64_t offset, uint64_t length) const;

  std::shared_ptr<const void> sourceKeeper_;
  std::span<const uint8_t> source_;
  uint64_t overlayStart_ = 0;
};

// An image with its resources decoded into a flat, editable list of records.
class TPEResourceModule : public TPEModule {
 public:
  void Decode(std::span<const uint8_t> image, std::shared_ptr<const void> keeper) override;
  // Rebuilds the resource section from the records, then lays the image out.
  void RecalculateLayout() override;

  // The section that starts with the resource directory: the one a save rebuilds. Modules whose
  // directory lies inside another section are read, but not written.
  TImageSection* ResourceSection() const;

  int ResourceCount() const override { return resources_.Count(); }
  TResourceDetails* ResourceDetails(int index) const override { return resources_.At(index); }
  void DeleteResource(int index) override;
  void InsertResource(int index, std::unique_ptr<TResourceDetails> details) override;
  int AddResource(std::unique_ptr<TResourceDetails> details) override;
  int IndexOfResource(const TResourceDetails* details) const override;
  int MoveResource(int currentIndex, int newIndex) override;
  void SortResources() override { resources_.Sort(); }

  // Turns an empty module into a resource-only image with one empty resource section.
  void InitializeResourceOnlyImage(const std::string& sectionName);

 protected:
  void Clear() override;

 private:
  ResourceRecordList resources_{*this};
};

// The image checksum: 16-bit word sum with carries folded back, the CheckSum field counted as
// zero, plus the image length.
uint32_t ImageCheckSum(std::span<const uint8_t> image, size_t checkSumOffset);

}  // namespace varnel

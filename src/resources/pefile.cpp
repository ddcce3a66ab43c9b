#include "resources/pefile.h"

#include <algorithm>
#include <cstring>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "resources/resourcedirectoryreader.h"
#include "resources/resourcesectionbuilder.h"

namespace varnel {

namespace {

// Optional-header fields shared by both image kinds.
constexpr size_t kOptSizeOfCode = 4;
constexpr size_t kOptSizeOfInitializedData = 8;
constexpr size_t kOptSizeOfUninitializedData = 12;
constexpr size_t kOptBaseOfCode = 20;
constexpr size_t kOptBaseOfData = 24;  // 32-bit images only
constexpr size_t kOptSectionAlignment = 32;
constexpr size_t kOptFileAlignment = 36;
constexpr size_t kOptSizeOfImage = 56;
constexpr size_t kOptSizeOfHeaders = 60;
constexpr size_t kOptCheckSum = 64;
constexpr size_t kOptRvaCountPE32 = 92;
constexpr size_t kOptRvaCountPE32Plus = 108;
constexpr size_t kSignatureSize = 4;
constexpr uint32_t kRawDataKeptWhole = 32;

uint64_t RoundUp(uint64_t value, uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

bool IsPowerOfTwo(uint32_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

void Append(std::vector<uint8_t>& out, std::span<const uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

uint32_t CheckedU32(uint64_t value) {
  if (value > UINT32_MAX) throw EPEException("Image too large");
  return uint32_t(value);
}

}  // namespace

// ---- TImageSection ----

TImageSection::TImageSection(TPEModule& parent, std::span<const uint8_t> header)
    : parent_(&parent) {
  std::copy_n(header.begin(), std::min(header.size(), Header.size()), Header.begin());
  OriginalVirtualAddress = VirtualAddress();
}

std::string TImageSection::Name() const {
  const char* name = reinterpret_cast<const char*>(Header.data());
  return std::string(name, strnlen(name, 8));
}

uint32_t TImageSection::Field(size_t offset) const {
  return ReadU32LE(&Header[offset]);
}

void TImageSection::SetField(size_t offset, uint32_t value) {
  WriteU32LE(&Header[offset], value);
}

// ---- TPEModule: reading ----

TPEModule::~TPEModule() = default;

void TPEModule::Clear() {
  DOSHeader.fill(0);
  DOSStub.clear();
  COFFHeader.fill(0);
  OptionalHeader.clear();
  Sections.clear();
  HeaderGap.clear();
  Overlay.clear();
  overlayStart_ = 0;
}

void TPEModule::Decode(std::span<const uint8_t> image, std::shared_ptr<const void> keeper) {
  Clear();
  source_ = image;
  sourceKeeper_ = std::move(keeper);
  DecodeHeaders(image);
}

ByteBlock TPEModule::SourcePart(uint64_t offset, uint64_t length) const {
  uint64_t start = std::min<uint64_t>(offset, source_.size());
  uint64_t count = std::min<uint64_t>(length, source_.size() - start);
  return ByteBlock(source_.subspan(size_t(start), size_t(count)), sourceKeeper_);
}

void TPEModule::DecodeHeaders(std::span<const uint8_t> image) {
  if (image.size() < pe::kDosHeaderSize || ReadU16LE(image.data()) != 0x5A4D)
    throw EPEException("Invalid DOS signature");
  std::copy_n(image.begin(), pe::kDosHeaderSize, DOSHeader.begin());
  uint64_t lfanew = ReadU32LE(&image[pe::kLfanewOffset]);
  if (lfanew > pe::kDosHeaderSize)
    DOSStub = SourcePart(pe::kDosHeaderSize, lfanew - pe::kDosHeaderSize);

  uint64_t coffOffset = lfanew + kSignatureSize;
  if (coffOffset + pe::kCoffHeaderSize > image.size() || ReadU32LE(&image[lfanew]) != 0x4550)
    throw EPEException("Invalid COFF signature");
  std::copy_n(image.begin() + coffOffset, pe::kCoffHeaderSize, COFFHeader.begin());

  uint64_t optionalOffset = coffOffset + pe::kCoffHeaderSize;
  uint64_t optionalEnd = optionalOffset + SizeOfOptionalHeaderField();
  if (optionalOffset + 2 > image.size() || optionalEnd > image.size())
    throw EPEException("Invalid Windows Image");
  uint16_t magic = ReadU16LE(&image[optionalOffset]);
  if (magic != pe::kMagicPE32 && magic != pe::kMagicPE32Plus)
    throw EPEException("Invalid Windows Image");
  OptionalHeader.assign(image.begin() + optionalOffset, image.begin() + optionalEnd);

  DecodeSectionTable(image, optionalEnd);
  KeepOverlay(image);
}

void TPEModule::DecodeSectionTable(std::span<const uint8_t> image, size_t tableOffset) {
  uint64_t tableEnd = tableOffset + uint64_t(NumberOfSectionsField()) * pe::kSectionHeaderSize;
  if (tableEnd > image.size()) throw EPEException("Section table runs past the end of the image");
  uint64_t firstRaw = UINT64_MAX;
  for (uint64_t offset = tableOffset; offset < tableEnd; offset += pe::kSectionHeaderSize) {
    auto section =
        std::make_unique<TImageSection>(*this, image.subspan(offset, pe::kSectionHeaderSize));
    if (section->SizeOfRawData() > 0)
      firstRaw = std::min<uint64_t>(firstRaw, section->PointerToRawData());
    Sections.push_back(std::move(section));
  }
  // Bytes between the table and the first raw data (bound imports, padding) come back unchanged.
  uint64_t gapEnd = std::min<uint64_t>(firstRaw, image.size());
  if (gapEnd > tableEnd) HeaderGap = SourcePart(tableEnd, gapEnd - tableEnd);
  overlayStart_ = tableEnd + HeaderGap.size();
}

void TPEModule::KeepOverlay(std::span<const uint8_t> image) {
  uint64_t rawEnd = overlayStart_;
  for (const auto& section : Sections)
    if (section->SizeOfRawData() > 0)
      rawEnd = std::max<uint64_t>(rawEnd,
                                  uint64_t(section->PointerToRawData()) + section->SizeOfRawData());
  overlayStart_ = rawEnd;
  if (rawEnd < image.size()) Overlay = SourcePart(rawEnd, image.size() - rawEnd);
}

void TPEModule::LoadRawData(TImageSection& section) {
  if (section.Loaded) return;
  section.Loaded = true;
  if (section.Characteristics() & pe::kScnUninitializedData) {
    // Nothing in the file, but the memory the section occupies must survive a rewrite.
    section.UninitializedTail = section.VirtualSize();
    return;
  }
  uint32_t wanted;
  if (section.SizeOfRawData() < section.VirtualSize()) {
    wanted = section.SizeOfRawData();
    section.UninitializedTail = section.VirtualSize() - section.SizeOfRawData();
  } else {
    // Some linkers leave the virtual size 0 or tiny; the raw size is then the real one.
    if (section.VirtualSize() < kRawDataKeptWhole) section.SetVirtualSize(section.SizeOfRawData());
    wanted = section.VirtualSize();
  }
  uint64_t start = section.PointerToRawData();
  uint64_t present =
      start < source_.size() ? std::min<uint64_t>(wanted, source_.size() - start) : 0;
  if (present > 0) section.RawData = SourcePart(start, present);
  // What a cut-off file lacks is memory the loader fills with zeros.
  section.UninitializedTail += uint32_t(wanted - present);
}

void TPEModule::LoadAllSections() {
  for (auto& section : Sections) LoadRawData(*section);
  source_ = {};
  sourceKeeper_.reset();
}

void TPEModule::DecodeFile(const std::string& fileName) {
  Clear();
  DecodeFile(MappedFile::Open(fileName));
}

void TPEModule::DecodeFile(const SharedFile& file) {
  Decode(file->Bytes(), file);
}

void TPEModule::LoadFromFile(const std::string& fileName) {
  try {
    DecodeFile(fileName);
  } catch (const std::exception&) {
    // A damaged or unreadable module yields what was decoded before the damage.
  }
}

void TPEModule::LoadFromFile(const SharedFile& file) {
  try {
    DecodeFile(file);
  } catch (const std::exception&) {
    // A damaged module yields what was decoded before the damage.
  }
}

void TPEModule::LoadFromStream(Stream& stream) {
  Clear();
  stream.SetPosition(0);
  auto bytes = std::make_shared<std::vector<uint8_t>>(stream.ReadBytes(size_t(stream.Size())));
  Decode(*bytes, bytes);
}

// ---- TPEModule: headers ----

TResourceDetails* TPEModule::ResourceDetails(int index) const {
  throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

uint16_t TPEModule::NumberOfSectionsField() const {
  return ReadU16LE(&COFFHeader[2]);
}

uint16_t TPEModule::SizeOfOptionalHeaderField() const {
  return ReadU16LE(&COFFHeader[16]);
}

bool TPEModule::IsPE32Plus() const {
  return OptionalHeader.size() >= 2 && ReadU16LE(OptionalHeader.data()) == pe::kMagicPE32Plus;
}

uint32_t TPEModule::OptionalField(size_t offset) const {
  return offset + 4 <= OptionalHeader.size() ? ReadU32LE(&OptionalHeader[offset]) : 0;
}

void TPEModule::SetOptionalField(size_t offset, uint32_t value) {
  if (offset + 4 <= OptionalHeader.size()) WriteU32LE(&OptionalHeader[offset], value);
}

int TPEModule::DataDirectoryCount() const {
  size_t countOffset = IsPE32Plus() ? kOptRvaCountPE32Plus : kOptRvaCountPE32;
  size_t firstEntry = countOffset + 4;
  if (OptionalHeader.size() < firstEntry) return 0;
  uint64_t present = (OptionalHeader.size() - firstEntry) / 8;
  return int(std::min<uint64_t>(OptionalField(countOffset), present));
}

DataDirectoryEntry TPEModule::DataDirectory(int index) const {
  if (index < 0 || index >= DataDirectoryCount())
    throw Exception("Index exceeds data dictionary count");
  size_t offset = (IsPE32Plus() ? kOptRvaCountPE32Plus : kOptRvaCountPE32) + 4 + size_t(index) * 8;
  return {OptionalField(offset), OptionalField(offset + 4)};
}

void TPEModule::SetDataDirectory(int index, DataDirectoryEntry entry) {
  if (index < 0 || index >= DataDirectoryCount())
    throw Exception("Index exceeds data dictionary count");
  size_t offset = (IsPE32Plus() ? kOptRvaCountPE32Plus : kOptRvaCountPE32) + 4 + size_t(index) * 8;
  SetOptionalField(offset, entry.VirtualAddress);
  SetOptionalField(offset + 4, entry.Size);
}

TImageSection& TPEModule::Section(int index) const {
  if (index < 0 || index >= SectionCount())
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  return *Sections[size_t(index)];
}

int TPEModule::FindDirectorySection(int directoryIndex) const {
  if (directoryIndex >= DataDirectoryCount()) return -1;
  uint32_t rva = DataDirectory(directoryIndex).VirtualAddress;
  for (int i = 0; i < SectionCount(); ++i)
    if (Sections[size_t(i)]->VirtualAddress() == rva) return i;
  return -1;
}

int TPEModule::FindSectionContaining(uint32_t rva) const {
  for (int i = 0; i < SectionCount(); ++i) {
    const TImageSection& section = *Sections[size_t(i)];
    if (section.VirtualAddress() <= rva &&
        uint64_t(rva) < uint64_t(section.VirtualAddress()) + section.SizeOfRawData())
      return i;
  }
  return -1;
}

// ---- TPEModule: layout and writing ----

void TPEModule::CheckWritable() const {
  if (OptionalHeader.size() < kOptCheckSum + 4) throw EPEException("Optional header too short");
  uint32_t fileAlignment = OptionalField(kOptFileAlignment);
  uint32_t sectionAlignment = OptionalField(kOptSectionAlignment);
  if (!IsPowerOfTwo(fileAlignment) || fileAlignment > 0x10000 || !IsPowerOfTwo(sectionAlignment) ||
      sectionAlignment > 0x40000000)
    throw EPEException("Invalid section or file alignment");
  // The loader accepts no more than 96 sections; more would only inflate the padding written.
  if (Sections.size() > 96) throw EPEException("Too many sections");
}

void TPEModule::RecalculateLayout() {
  CheckWritable();
  uint32_t lfanew = CheckedU32(pe::kDosHeaderSize + DOSStub.size());
  WriteU32LE(&DOSHeader[pe::kLfanewOffset], lfanew);
  WriteU16LE(&COFFHeader[2], uint16_t(Sections.size()));
  WriteU16LE(&COFFHeader[16], uint16_t(OptionalHeader.size()));
  uint64_t headers = uint64_t(lfanew) + kSignatureSize + pe::kCoffHeaderSize +
                     OptionalHeader.size() + pe::kSectionHeaderSize * Sections.size();
  uint32_t fileAlignment = OptionalField(kOptFileAlignment);
  SetOptionalField(kOptSizeOfHeaders, CheckedU32(RoundUp(headers, fileAlignment)));
  SetOptionalField(kOptCheckSum, 0);
  LayOutSections(CheckedU32(headers));
}

void TPEModule::LayOutSections(uint32_t headers) {
  uint64_t fileAlignment = OptionalField(kOptFileAlignment);
  uint64_t sectionAlignment = OptionalField(kOptSectionAlignment);
  uint64_t raw = RoundUp(headers + HeaderGap.size(), fileAlignment);
  uint64_t va = sectionAlignment;
  uint64_t image = RoundUp(headers, sectionAlignment);
  uint64_t baseOfCode = Sections.size() <= 1 ? sectionAlignment : 0xFFFFFFFF;
  uint64_t code = 0, initialized = 0, uninitialized = 0;
  std::vector<SectionPlacement> placements;
  for (const auto& section : Sections) {
    uint64_t virtualSize = section->RawData.size() + uint64_t(section->UninitializedTail);
    uint64_t rawSize = RoundUp(section->RawData.size(), fileAlignment);
    placements.push_back(
        {CheckedU32(raw), CheckedU32(va), CheckedU32(virtualSize), CheckedU32(rawSize)});
    uint64_t fileSpan = RoundUp(virtualSize, fileAlignment);
    uint32_t flags = section->Characteristics();
    if (flags & pe::kScnExecute) {
      code += fileSpan;
      baseOfCode = std::min(baseOfCode, va);
    } else if (flags & pe::kScnInitializedData) {
      initialized += fileSpan;
    } else if (flags & pe::kScnUninitializedData) {
      uninitialized += fileSpan;
    }
    raw += rawSize;
    va += RoundUp(virtualSize, sectionAlignment);
    image += RoundUp(virtualSize, sectionAlignment);
  }
  CheckedU32(raw);
  CheckedU32(image);
  CheckSectionsMayMove(placements);
  for (size_t i = 0; i < Sections.size(); ++i) {
    TImageSection& section = *Sections[i];
    section.SetPointerToRawData(placements[i].pointerToRawData);
    section.SetVirtualAddress(placements[i].virtualAddress);
    section.SetVirtualSize(placements[i].virtualSize);
    section.SetSizeOfRawData(placements[i].sizeOfRawData);
  }
  RelocateMovedDirectories();
  SetOptionalField(kOptSizeOfCode, CheckedU32(code));
  SetOptionalField(kOptSizeOfInitializedData, CheckedU32(initialized));
  SetOptionalField(kOptSizeOfUninitializedData, CheckedU32(uninitialized));
  if (Sections.size() <= 1) baseOfCode = sectionAlignment;
  SetOptionalField(kOptBaseOfCode, uint32_t(baseOfCode));
  if (!IsPE32Plus()) {
    uint64_t baseOfData =
        Sections.size() <= 1
            ? sectionAlignment
            : baseOfCode + RoundUp(OptionalHeader.size() + 24 + code, sectionAlignment);
    SetOptionalField(kOptBaseOfData, uint32_t(baseOfData));
  }
  SetOptionalField(kOptSizeOfImage, uint32_t(image));
  MoveOverlayReferences(raw);
}

void TPEModule::CheckSectionsMayMove(const std::vector<SectionPlacement>& placements) const {
  // Code and data refer to sections by address; only sections the loader finds solely through
  // the data directories (relocations, debug data: discardable ones) may move.
  for (size_t i = 0; i < Sections.size(); ++i) {
    const TImageSection& section = *Sections[i];
    if (section.OriginalVirtualAddress == placements[i].virtualAddress) continue;
    if (!(section.Characteristics() & pe::kScnDiscardable))
      throw EPEException("Section \"" + section.Name() +
                         "\" would have to move, which the image cannot survive");
  }
}

void TPEModule::RelocateMovedDirectories() {
  for (auto& section : Sections) {
    uint32_t was = section->OriginalVirtualAddress, now = section->VirtualAddress();
    if (was == now) continue;
    uint64_t end = uint64_t(was) + std::max(section->VirtualSize(), section->SizeOfRawData());
    for (int d = 0; d < DataDirectoryCount(); ++d) {
      DataDirectoryEntry entry = DataDirectory(d);
      if (d == pe::kSecurityDirectory || entry.VirtualAddress < was || entry.VirtualAddress >= end)
        continue;
      entry.VirtualAddress = entry.VirtualAddress - was + now;
      SetDataDirectory(d, entry);
    }
    section->OriginalVirtualAddress = now;
  }
}

void TPEModule::MoveOverlayReferences(uint64_t newOverlayStart) {
  // The certificate table and the COFF symbol table are addressed by file offset and live in
  // the overlay; they follow it when the sections before it grow or shrink.
  uint64_t overlayEnd = overlayStart_ + Overlay.size();
  auto moved = [&](uint32_t offset) {
    return CheckedU32(uint64_t(offset) - overlayStart_ + newOverlayStart);
  };
  auto inOverlay = [&](uint32_t offset) { return offset >= overlayStart_ && offset < overlayEnd; };
  if (DataDirectoryCount() > pe::kSecurityDirectory) {
    DataDirectoryEntry entry = DataDirectory(pe::kSecurityDirectory);
    if (inOverlay(entry.VirtualAddress)) {
      entry.VirtualAddress = moved(entry.VirtualAddress);
      SetDataDirectory(pe::kSecurityDirectory, entry);
    }
  }
  uint32_t symbolTable = ReadU32LE(&COFFHeader[8]);
  if (inOverlay(symbolTable)) WriteU32LE(&COFFHeader[8], moved(symbolTable));
  overlayStart_ = newOverlayStart;
}

std::vector<uint8_t> TPEModule::BuildImage() {
  LoadAllSections();
  RecalculateLayout();
  std::vector<uint8_t> out;
  Append(out, DOSHeader);
  Append(out, DOSStub);
  const uint8_t signature[kSignatureSize] = {'P', 'E', 0, 0};
  Append(out, signature);
  Append(out, COFFHeader);
  Append(out, OptionalHeader);
  for (const auto& section : Sections) Append(out, section->Header);
  Append(out, HeaderGap);
  for (const auto& section : Sections) {
    if (out.size() < section->PointerToRawData()) out.resize(section->PointerToRawData());
    Append(out, section->RawData);
    uint64_t rawEnd = uint64_t(section->PointerToRawData()) + section->SizeOfRawData();
    if (out.size() < rawEnd) out.resize(rawEnd);
  }
  Append(out, Overlay);
  size_t checkSumOffset = ReadU32LE(&DOSHeader[pe::kLfanewOffset]) + kSignatureSize +
                          pe::kCoffHeaderSize + kOptCheckSum;
  uint32_t checkSum = ImageCheckSum(out, checkSumOffset);
  WriteU32LE(&out[checkSumOffset], checkSum);
  SetOptionalField(kOptCheckSum, checkSum);
  return out;
}

void TPEModule::SaveToStream(Stream& stream) {
  stream.WriteBytes(BuildImage());
}

void TPEModule::SaveToFile(const std::string& fileName) {
  WriteFileAtomic(fileName, BuildImage());
}

uint32_t ImageCheckSum(std::span<const uint8_t> image, size_t checkSumOffset) {
  uint32_t sum = 0;
  for (size_t i = 0; i < image.size(); i += 2) {
    if (i >= checkSumOffset && i < checkSumOffset + 4) continue;
    uint32_t word = image[i] | (i + 1 < image.size() ? image[i + 1] << 8 : 0);
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return (sum & 0xFFFF) + uint32_t(image.size());
}

// ---- TPEResourceModule ----

void TPEResourceModule::Clear() {
  TPEModule::Clear();
  resources_.Clear();
}

void TPEResourceModule::Decode(std::span<const uint8_t> image, std::shared_ptr<const void> keeper) {
  TPEModule::Decode(image, std::move(keeper));
  // Linkers that merge the resources into another section leave the tree inside that section.
  TImageSection* section = ResourceSection();
  uint32_t directoryOffset = 0;
  if (!section && DataDirectoryCount() > pe::kResourceDirectory) {
    uint32_t rva = DataDirectory(pe::kResourceDirectory).VirtualAddress;
    int holder = rva ? FindSectionContaining(rva) : -1;
    if (holder < 0) return;
    section = &Section(holder);
    directoryOffset = rva - section->VirtualAddress();
  }
  if (!section) return;
  LoadRawData(*section);
  // Data entries may share bytes; records that copy theirs copy at most a few times the image.
  uint64_t copyBudget = 4 * uint64_t(image.size()) + 0x10000;
  ResourceDirectoryReader(*this, *section, directoryOffset, copyBudget).Walk();
}

TImageSection* TPEResourceModule::ResourceSection() const {
  int index = FindDirectorySection(pe::kResourceDirectory);
  return index < 0 ? nullptr : Sections[size_t(index)].get();
}

void TPEResourceModule::RecalculateLayout() {
  // The section is rebuilt whole, so it must hold nothing but the resources.
  TImageSection* section = ResourceSection();
  if (!section) throw EPEException("Image has no resource section");
  LoadRawData(*section);
  std::vector<const TResourceDetails*> records;
  for (int i = 0; i < ResourceCount(); ++i) records.push_back(ResourceDetails(i));
  section->RawData = BuildResourceSection(records, section->VirtualAddress(),
                                          ResourceDirectoryStamp::Of(section->RawData));
  section->UninitializedTail = 0;
  TPEModule::RecalculateLayout();
  DataDirectoryEntry directory = DataDirectory(pe::kResourceDirectory);
  directory.Size = section->SizeOfRawData();
  SetDataDirectory(pe::kResourceDirectory, directory);
}

void TPEResourceModule::DeleteResource(int index) {
  TResourceDetails* details = resources_.At(index);
  TResourceModule::DeleteResource(index);
  resources_.Remove(details);
}

void TPEResourceModule::InsertResource(int index, std::unique_ptr<TResourceDetails> details) {
  resources_.Insert(index, std::move(details));
}

int TPEResourceModule::AddResource(std::unique_ptr<TResourceDetails> details) {
  return resources_.Add(std::move(details));
}

int TPEResourceModule::IndexOfResource(const TResourceDetails* details) const {
  return resources_.IndexOf(details);
}

int TPEResourceModule::MoveResource(int currentIndex, int newIndex) {
  resources_.Move(currentIndex, newIndex);
  return 1;
}

}  // namespace varnel

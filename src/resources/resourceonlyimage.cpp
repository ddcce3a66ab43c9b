// The template of a resource-only image: headers, a DOS stub and one empty resource section.

#include <algorithm>
#include <random>

#include "base/byteorder.h"
#include "resources/pefile.h"

namespace varnel {

namespace {

// A 16-bit program that prints "This program cannot be run in DOS mode " and exits with code 1.
constexpr uint8_t kDosStubProgram[88] = {
    0xEB, 0x2F, 0x90, 0x00, 0x54, 0x68, 0x69, 0x73, 0x20, 0x70, 0x72, 0x6F, 0x67, 0x72, 0x61,
    0x6D, 0x20, 0x63, 0x61, 0x6E, 0x6E, 0x6F, 0x74, 0x20, 0x62, 0x65, 0x20, 0x72, 0x75, 0x6E,
    0x20, 0x69, 0x6E, 0x20, 0x44, 0x4F, 0x53, 0x20, 0x6D, 0x6F, 0x64, 0x65, 0x20, 0x00, 0xB8,
    0x01, 0x4C, 0xCD, 0x21, 0xBE, 0x04, 0x00, 0xB4, 0x09, 0x2E, 0x8A, 0x04, 0x84, 0xC0, 0x74,
    0xEF, 0x33, 0xDB, 0xB3, 0x0F, 0x33, 0xC9, 0x41, 0xCD, 0x10, 0x46, 0x33, 0xDB, 0xB4, 0x03,
    0xCD, 0x10, 0x42, 0xB4, 0x02, 0xCD, 0x10, 0xEB, 0xE0, 0xBA, 0xDF, 0x00, 0xD1};
constexpr size_t kRandomStubBytes = 48;
constexpr size_t kStubPadding = 24;

constexpr uint16_t kDosHeaderWords[] = {0x5A4D, 0x0090, 0x0003, 0x0000, 0x0004, 0x0000,
                                        0xFFFF, 0x0000, 0x00B8, 0x0000, 0x0040};
constexpr uint32_t kAlignment = 0x200;
constexpr uint32_t kEmptyDirectorySize = 16;

void FillDosHeader(std::array<uint8_t, pe::kDosHeaderSize>& header) {
  header.fill(0);
  for (size_t i = 0; i < std::size(kDosHeaderWords); ++i)
    WriteU16LE(&header[2 * i], kDosHeaderWords[i]);
  WriteU32LE(&header[pe::kLfanewOffset], 0xB8);
}

std::vector<uint8_t> MakeDosStub() {
  std::vector<uint8_t> stub(std::begin(kDosStubProgram), std::end(kDosStubProgram));
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> byte(0, 255);
  for (size_t i = 0; i < kRandomStubBytes; ++i) stub.push_back(uint8_t(byte(random)));
  stub.resize(stub.size() + kStubPadding, 0);
  return stub;
}

void FillCoffHeader(std::array<uint8_t, pe::kCoffHeaderSize>& header) {
  header.fill(0);
  WriteU16LE(&header[0], 0x014C);   // i386
  WriteU16LE(&header[2], 1);        // sections
  WriteU16LE(&header[16], 224);     // optional header size
  WriteU16LE(&header[18], 0x010F);  // characteristics
}

std::vector<uint8_t> MakeOptionalHeader() {
  std::vector<uint8_t> header(224, 0);
  uint8_t* p = header.data();
  WriteU16LE(p + 0, pe::kMagicPE32);
  p[2] = 1;                        // linker version 1.0
  WriteU32LE(p + 20, kAlignment);  // BaseOfCode
  WriteU32LE(p + 24, kAlignment);  // BaseOfData
  WriteU32LE(p + 28, 0x0EA00000);  // ImageBase
  WriteU32LE(p + 32, kAlignment);  // SectionAlignment
  WriteU32LE(p + 36, kAlignment);  // FileAlignment
  WriteU16LE(p + 40, 4);           // operating system 4.0
  WriteU16LE(p + 48, 4);           // subsystem 4.0
  WriteU32LE(p + 56, 0x2000);      // SizeOfImage
  WriteU32LE(p + 60, kAlignment);  // SizeOfHeaders
  WriteU16LE(p + 68, 2);           // GUI subsystem
  WriteU16LE(p + 70, 0x0540);      // DllCharacteristics
  WriteU32LE(p + 72, 0x40000);     // stack reserve
  WriteU32LE(p + 76, 0x1000);      // stack commit
  WriteU32LE(p + 80, 0x100000);    // heap reserve
  WriteU32LE(p + 84, 0x1000);      // heap commit
  WriteU32LE(p + 92, 16);          // data directories
  WriteU32LE(p + 96 + 8 * pe::kResourceDirectory, kAlignment);
  WriteU32LE(p + 100 + 8 * pe::kResourceDirectory, kEmptyDirectorySize);
  return header;
}

std::array<uint8_t, pe::kSectionHeaderSize> MakeSectionHeader(const std::string& name) {
  std::array<uint8_t, pe::kSectionHeaderSize> header{};
  std::copy_n(name.begin(), std::min<size_t>(name.size(), 8), header.begin());
  WriteU32LE(&header[12], kAlignment);           // VirtualAddress
  WriteU32LE(&header[16], kEmptyDirectorySize);  // SizeOfRawData
  WriteU32LE(&header[20], kAlignment);           // PointerToRawData
  WriteU32LE(&header[36], 0x40000040);           // initialized data, readable
  return header;
}

}  // namespace

void TPEResourceModule::InitializeResourceOnlyImage(const std::string& sectionName) {
  Clear();
  FillDosHeader(DOSHeader);
  DOSStub = MakeDosStub();
  FillCoffHeader(COFFHeader);
  OptionalHeader = MakeOptionalHeader();
  auto section = std::make_unique<TImageSection>(*this, MakeSectionHeader(sectionName));
  section->RawData = std::vector<uint8_t>(kEmptyDirectorySize, 0);
  section->Loaded = true;
  Sections.push_back(std::move(section));
}

}  // namespace varnel

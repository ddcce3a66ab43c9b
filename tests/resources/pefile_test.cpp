#include "resources/pefile.h"

#include <gtest/gtest.h>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "resources/resourcedetails.h"
#include "resources/resourcesectionbuilder.h"
#include "support/corpus.h"

namespace varnel {
namespace {

constexpr size_t kSectionStart = 0x200;

std::vector<uint8_t> Filled(size_t size, uint8_t value) {
  return std::vector<uint8_t>(size, value);
}

void AddRecord(TResourceModule& module, const std::string& type, const std::string& name,
               uint32_t language, const std::vector<uint8_t>& data, bool nameIsString = false) {
  auto record = std::make_unique<TResourceDetails>(&module, language, name, type, data);
  record->NameIsString = nameIsString;
  module.AddResource(std::move(record));
}

std::vector<uint8_t> Save(TPEModule& module) {
  MemoryStream out;
  module.SaveToStream(out);
  return out.Bytes();
}

void Load(TPEResourceModule& module, const std::vector<uint8_t>& image) {
  MemoryStream in(image);
  module.LoadFromStream(in);
}

std::vector<uint8_t> TemplateImage(
    const std::vector<std::tuple<std::string, std::string, uint32_t, std::vector<uint8_t>>>&
        records) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  for (const auto& [type, name, language, data] : records)
    AddRecord(module, type, name, language, data);
  return Save(module);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  return ReadU32LE(&bytes[offset]);
}
uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset) {
  return ReadU16LE(&bytes[offset]);
}

// Offsets into an image written from the template (e_lfanew 0xE0).
constexpr size_t kOptional = 0xE0 + 24;
constexpr size_t kSectionHeader = kOptional + 224;

TEST(PEResourceOnlyImage, OneIconResourceHasTheDocumentedLayout) {
  std::vector<uint8_t> icon = Filled(744, 0xAB);
  std::vector<uint8_t> image = TemplateImage({{"3", "1", 1033, icon}});

  EXPECT_EQ(U16At(image, 0), 0x5A4D);
  EXPECT_EQ(U32At(image, 60), 0xE0u);
  EXPECT_EQ(kSectionHeader + 40, 512u) << "headers end at byte 512";
  EXPECT_EQ(U32At(image, kOptional + 60), 0x200u);  // SizeOfHeaders
  EXPECT_EQ(U32At(image, kSectionHeader + 8), 840u);
  EXPECT_EQ(U32At(image, kSectionHeader + 12), 0x200u);
  EXPECT_EQ(U32At(image, kSectionHeader + 16), 0x400u);
  EXPECT_EQ(U32At(image, kSectionHeader + 20), 0x200u);
  EXPECT_EQ(U32At(image, kOptional + 56), 0x600u);       // SizeOfImage
  EXPECT_EQ(U32At(image, kOptional + 96 + 16), 0x200u);  // resource directory RVA
  EXPECT_EQ(U32At(image, kOptional + 96 + 20), 0x400u);  // and size
  EXPECT_EQ(U32At(image, kOptional + 20), 0x200u);       // BaseOfCode
  EXPECT_EQ(U32At(image, kOptional + 24), 0x200u);       // BaseOfData
  ASSERT_EQ(image.size(), 0x600u);

  // Three directories with one entry each, in 72 bytes, all stamped 0 and version 0.0.
  for (size_t directory : {0u, 24u, 48u}) {
    EXPECT_EQ(U32At(image, kSectionStart + directory + 4), 0u);
    EXPECT_EQ(U32At(image, kSectionStart + directory + 8), 0u);
    EXPECT_EQ(U16At(image, kSectionStart + directory + 14), 1u);
  }
  EXPECT_EQ(U32At(image, kSectionStart + 16), 3u);
  EXPECT_EQ(U32At(image, kSectionStart + 20), 0x80000000u | 24);
  EXPECT_EQ(U32At(image, kSectionStart + 64), 1033u);
  EXPECT_EQ(U32At(image, kSectionStart + 68), 72u);
  EXPECT_EQ(U32At(image, kSectionStart + 72), 0x260u);  // data RVA
  EXPECT_EQ(U32At(image, kSectionStart + 76), 744u);
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + kSectionStart + 88, image.begin() + 0x260),
            Filled(8, 0));
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + 0x260, image.begin() + 0x260 + 744), icon);

  EXPECT_EQ(U32At(image, kOptional + 64), ImageCheckSum(image, kOptional + 64));
  EXPECT_NE(U32At(image, kOptional + 64), 0u);
}

TEST(PEResourceOnlyImage, TemplateHeadersAndStub) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".resources-long");
  ASSERT_EQ(module.SectionCount(), 1);
  EXPECT_EQ(module.Section(0).Name(), ".resourc");
  EXPECT_EQ(module.DOSStub.size(), 160u);
  EXPECT_EQ(module.DOSStub[4], 'T');
  EXPECT_EQ(std::vector<uint8_t>(module.DOSStub.end() - 24, module.DOSStub.end()), Filled(24, 0));
  EXPECT_EQ(module.DataDirectoryCount(), 16);
  EXPECT_EQ(module.FindDirectorySection(2), 0);
  EXPECT_EQ(module.FindDirectorySection(3), -1);
  EXPECT_THROW(module.DataDirectory(16), Exception);
  EXPECT_EQ(module.ResourceCount(), 0);

  // Without resources the section holds an empty root directory.
  std::vector<uint8_t> image = Save(module);
  EXPECT_EQ(image.size(), 0x400u);
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + 0x200, image.end()), Filled(0x200, 0));
  TPEResourceModule reread;
  Load(reread, image);
  EXPECT_EQ(reread.ResourceCount(), 0);
  EXPECT_NE(reread.ResourceSection(), nullptr);
}

TEST(PEResourceSection, NamesWrittenAsNumbersOrStrings) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  AddRecord(module, "3", "12", 1033, {1});
  AddRecord(module, "3", "0012", 1033, {2});
  AddRecord(module, "3", "ABC", 1033, {3});
  AddRecord(module, "4", "12", 1033, {4}, /*nameIsString=*/true);
  std::vector<uint8_t> image = Save(module);

  // The name directory of type 3: two named entries ("0012", "ABC") before numeric 12.
  size_t names = kSectionStart + 16 + 2 * 8;
  EXPECT_EQ(U16At(image, names + 12), 2u);
  EXPECT_EQ(U16At(image, names + 14), 1u);
  EXPECT_TRUE(U32At(image, names + 16) & 0x80000000u);
  EXPECT_TRUE(U32At(image, names + 24) & 0x80000000u);
  EXPECT_EQ(U32At(image, names + 32), 12u);

  TPEResourceModule reread;
  Load(reread, image);
  ASSERT_EQ(reread.ResourceCount(), 4);
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    TResourceDetails* details = reread.ResourceDetails(i);
    seen.push_back(details->ResourceType() + ":" + details->ResourceName() + ":" +
                   (details->NameIsString ? "s" : "n") + ":" + std::to_string(details->Bytes()[0]));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"3:0012:s:2", "3:ABC:s:3", "3:12:n:1", "4:12:s:4"}));
}

TEST(PEResourceSection, LaterRecordWithSameIdentityWins) {
  std::vector<uint8_t> image =
      TemplateImage({{"3", "1", 1033, {1, 1}}, {"3", "1", 1031, {2}}, {"3", "1", 1033, {3, 3, 3}}});
  TPEResourceModule module;
  Load(module, image);
  ASSERT_EQ(module.ResourceCount(), 2);
  EXPECT_EQ(module.ResourceDetails(0)->ResourceLanguage(), 1033u);
  EXPECT_EQ(module.ResourceDetails(0)->Bytes().size(), 3u);
  EXPECT_EQ(module.ResourceDetails(1)->ResourceLanguage(), 1031u);
}

TEST(PEResourceSection, UnicodeStringNamesRoundTrip) {
  std::vector<uint8_t> image = TemplateImage({{"MYTYPE", "Grüße 😀", 0, {9}}});
  TPEResourceModule module;
  Load(module, image);
  ASSERT_EQ(module.ResourceCount(), 1);
  EXPECT_EQ(module.ResourceDetails(0)->ResourceType(), "MYTYPE");
  EXPECT_EQ(module.ResourceDetails(0)->ResourceName(), "Grüße 😀");
  EXPECT_TRUE(module.ResourceDetails(0)->NameIsString);
}

TEST(PEResourceModuleList, SortAndUniqueNames) {
  TPEResourceModule module;
  for (const char* name : {"abd", "10", "ABC", "2"}) AddRecord(module, "3", name, 0, {});
  AddRecord(module, "14", "1", 0, {});
  AddRecord(module, "3", "99999999999", 0, {});  // too large for a number: a name like text
  module.SortResources();
  std::vector<std::string> order;
  for (int i = 0; i < module.ResourceCount(); ++i)
    order.push_back(module.ResourceDetails(i)->ResourceName());
  EXPECT_EQ(order, (std::vector<std::string>{"2", "10", "99999999999", "ABC", "abd", "1"}));
  EXPECT_EQ(CompareResourceNames("ABC", "abc"), 0);
  EXPECT_EQ(module.GetUniqueResourceName("3"), "11");
  EXPECT_EQ(module.GetUniqueResourceName("5"), "1");
  EXPECT_EQ(module.FindResource("3", "ABC"), module.ResourceDetails(3));
  EXPECT_EQ(module.FindResource("3", "abc"), nullptr);
  EXPECT_EQ(ResourceNameToInt("0012"), 12);
  EXPECT_EQ(ResourceNameToInt(""), -1);
  EXPECT_EQ(ResourceNameToInt("1a"), -1);
}

TEST(PEResourceModuleList, DeleteAndMove) {
  TPEResourceModule module;
  for (const char* name : {"1", "2", "3"}) AddRecord(module, "3", name, 0, {});
  EXPECT_EQ(module.MoveResource(0, 2), 1);
  EXPECT_EQ(module.ResourceDetails(2)->ResourceName(), "1");
  module.DeleteResource(1);
  EXPECT_TRUE(module.Dirty);
  ASSERT_EQ(module.ResourceCount(), 2);
  EXPECT_EQ(module.ResourceDetails(0)->ResourceName(), "2");
  EXPECT_EQ(module.ResourceDetails(1)->ResourceName(), "1");
  EXPECT_THROW(module.ResourceDetails(2), Exception);
}

// ---- images with unusual sections ----

// A template image with a second section after the resource section (at RVA 0x400, file offset
// 0x600; its header at 0x200) and an overlay.
constexpr size_t kSecondHeader = 0x200;

std::vector<uint8_t> WithSecondSection(uint32_t rawSize, uint32_t flags,
                                       const std::vector<uint8_t>& overlay, uint32_t tail = 0) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  AddRecord(module, "3", "1", 1033, Filled(40, 7));
  std::array<uint8_t, 40> header{};
  std::copy_n(".extra", 6, header.begin());
  WriteU32LE(&header[12], 0x400);
  WriteU32LE(&header[36], flags);
  auto section = std::make_unique<TImageSection>(module, header);
  section->RawData = Filled(rawSize, 0x5A);
  section->UninitializedTail = tail;
  section->Loaded = true;
  module.Sections.push_back(std::move(section));
  module.Overlay = overlay;
  return Save(module);
}

TEST(PEImageSections, VirtualSizesAndTailsSurviveRewrite) {
  std::vector<uint8_t> image = WithSecondSection(0x600, 0x40000040, {});
  ASSERT_EQ(U32At(image, kSecondHeader + 20), 0x600u);
  WriteU32LE(&image[kSecondHeader + 8], 0);
  TPEResourceModule zeroVirtual;
  Load(zeroVirtual, image);
  EXPECT_FALSE(zeroVirtual.Section(1).Loaded) << "sections other than the resources load lazily";
  zeroVirtual.LoadAllSections();
  EXPECT_EQ(zeroVirtual.Section(1).RawData.size(), 0x600u);
  Save(zeroVirtual);
  EXPECT_EQ(zeroVirtual.Section(1).VirtualSize(), 0x600u);

  WriteU32LE(&image[kSecondHeader + 8], 0x1000);
  TPEResourceModule withTail;
  Load(withTail, image);
  withTail.LoadAllSections();
  EXPECT_EQ(withTail.Section(1).UninitializedTail, 0xA00u);
  Save(withTail);
  EXPECT_EQ(withTail.Section(1).VirtualSize(), 0x1000u);
  EXPECT_EQ(withTail.Section(1).SizeOfRawData(), 0x600u);

  TPEResourceModule uninitialized;
  Load(uninitialized, WithSecondSection(0, 0xC0000080, {}, 0x3000));
  EXPECT_EQ(uninitialized.Section(1).SizeOfRawData(), 0u);
  Save(uninitialized);
  EXPECT_EQ(uninitialized.Section(1).VirtualSize(), 0x3000u) << "memory of .bss kept";
}

TEST(PEImageSections, OverlayAndHeaderGapComeBack) {
  std::vector<uint8_t> overlay = {'T', 'R', 'A', 'I', 'L', 'E', 'R'};
  auto withGap = [&](uint32_t flags) {
    std::vector<uint8_t> image = WithSecondSection(0x200, flags, overlay);
    std::fill(image.begin() + 0x228, image.begin() + 0x400, 0x3C);
    return image;
  };
  std::vector<uint8_t> gap = Filled(0x400 - 0x228, 0x3C);

  TPEResourceModule module;
  Load(module, withGap(0x40000040));
  EXPECT_EQ(module.HeaderGap, gap);
  EXPECT_EQ(module.Overlay, overlay);
  AddRecord(module, "3", "2", 1033, Filled(0x900, 1));  // grows the resource section
  EXPECT_THROW(Save(module), EPEException) << "a non-discardable section after it would move";

  TPEResourceModule movable;
  Load(movable, withGap(0x42000040));
  AddRecord(movable, "3", "2", 1033, Filled(0x900, 1));
  std::vector<uint8_t> rewritten = Save(movable);
  EXPECT_EQ(std::vector<uint8_t>(rewritten.end() - 7, rewritten.end()), overlay);
  EXPECT_EQ(std::vector<uint8_t>(rewritten.begin() + 0x228, rewritten.begin() + 0x400), gap);
  TPEResourceModule reread;
  Load(reread, rewritten);
  EXPECT_EQ(reread.ResourceCount(), 2);
  EXPECT_EQ(reread.Overlay, overlay);
  reread.LoadAllSections();
  EXPECT_EQ(reread.Section(1).RawData, Filled(0x200, 0x5A));
  EXPECT_GT(reread.Section(1).VirtualAddress(), 0x400u);
}

TEST(PEImageSections, CertificatesAndSymbolsFollowTheOverlay) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  AddRecord(module, "3", "1", 1033, Filled(40, 7));
  module.Overlay = Filled(64, 0xCE);
  std::vector<uint8_t> image = Save(module);
  ASSERT_EQ(image.size(), 0x400u + 64);
  WriteU32LE(&image[kOptional + 96 + 8 * 4], 0x408);  // certificate table at file offset 0x408
  WriteU32LE(&image[kOptional + 96 + 8 * 4 + 4], 56);
  WriteU32LE(&image[0xE0 + 4 + 8], 0x400);  // COFF symbol table at the overlay's start

  TPEResourceModule grown;
  Load(grown, image);
  AddRecord(grown, "3", "2", 1033, Filled(0x500, 1));
  std::vector<uint8_t> rewritten = Save(grown);
  ASSERT_EQ(rewritten.size(), 0x800u + 64);
  EXPECT_EQ(U32At(rewritten, kOptional + 96 + 8 * 4), 0x808u);
  EXPECT_EQ(U32At(rewritten, 0xE0 + 4 + 8), 0x800u);
  EXPECT_EQ(std::vector<uint8_t>(rewritten.begin() + 0x800, rewritten.end()), Filled(64, 0xCE));
}

TEST(PEImageSections, ResourceTreeInsideAnotherSectionIsRead) {
  TPEResourceModule empty;
  empty.InitializeResourceOnlyImage(".rdata");
  std::vector<uint8_t> image = Save(empty);
  ASSERT_EQ(image.size(), 0x400u);
  TResourceDetails record(nullptr, 1033, "1", "3", std::vector<uint8_t>{1, 2, 3});
  std::vector<uint8_t> tree = BuildResourceSection({&record}, 0x300, {});
  std::fill(image.begin() + 0x200, image.begin() + 0x300, 0xEE);
  std::copy(tree.begin(), tree.end(), image.begin() + 0x300);
  WriteU32LE(&image[kSectionHeader + 8], 0x200);
  WriteU32LE(&image[kOptional + 96 + 16], 0x300);
  WriteU32LE(&image[kOptional + 96 + 20], uint32_t(tree.size()));

  TPEResourceModule module;
  Load(module, image);
  EXPECT_EQ(module.ResourceSection(), nullptr);
  ASSERT_EQ(module.ResourceCount(), 1);
  EXPECT_EQ(std::vector<uint8_t>(module.ResourceDetails(0)->Bytes().begin(),
                                 module.ResourceDetails(0)->Bytes().end()),
            (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_THROW(Save(module), EPEException) << "rebuilding would destroy the rest of the section";
}

// ---- damaged images ----

TEST(PEDamagedImages, HeaderErrorsReachStreamReadersOnly) {
  std::vector<uint8_t> image = TemplateImage({{"3", "1", 1033, {1}}});
  auto expectError = [](const std::vector<uint8_t>& bytes, const std::string& message) {
    TPEResourceModule module;
    try {
      Load(module, bytes);
      ADD_FAILURE() << "no error for " << message;
    } catch (const EPEException& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  };
  std::vector<uint8_t> bad = image;
  bad[0] = 'X';
  expectError(bad, "Invalid DOS signature");
  expectError({'M', 'Z'}, "Invalid DOS signature");
  bad = image;
  bad[0xE0] = 'X';
  expectError(bad, "Invalid COFF signature");
  bad = image;
  WriteU32LE(&bad[60], 0xFFFFFFF0);
  expectError(bad, "Invalid COFF signature");
  bad = image;
  WriteU16LE(&bad[kOptional], 0x030B);
  expectError(bad, "Invalid Windows Image");
  bad = image;
  WriteU16LE(&bad[0xE0 + 6], 0xFFFF);
  EXPECT_THROW(Load(*std::make_unique<TPEResourceModule>(), bad), EPEException);

  test::TempDir dir;
  WriteFileAtomic(dir.File("bad.dll"), bad);
  TPEResourceModule swallowed;
  EXPECT_NO_THROW(swallowed.LoadFromFile(dir.File("bad.dll")));
  EXPECT_EQ(swallowed.ResourceCount(), 0);
  EXPECT_NO_THROW(swallowed.LoadFromFile(dir.File("missing.dll")));
}

TEST(PEDamagedImages, NamedLanguageStopsTheWalkWithAnError) {
  std::vector<uint8_t> image = TemplateImage({{"3", "1", 1033, {1}}, {"3", "2", 1033, {2}}});
  // The second name's language entry (after root, type and name directories, and one language
  // directory of one entry) is made a string.
  size_t secondLanguageEntry = kSectionStart + 16 + 8 + 16 + 16 + 16 + 8 + 16;
  ASSERT_EQ(U32At(image, secondLanguageEntry), 1033u);
  WriteU32LE(&image[secondLanguageEntry], 0x80000000u);
  TPEResourceModule module;
  EXPECT_THROW(Load(module, image), EPEException);
  EXPECT_EQ(module.ResourceCount(), 1) << "records read before the damage stay";
}

TEST(PEDamagedImages, BadOffsetsCyclesAndCountsStopOnlyTheirDirectory) {
  std::vector<uint8_t> image = TemplateImage({{"3", "1", 1033, {1}}, {"4", "1", 1033, {2}}});
  auto walk = [](const std::vector<uint8_t>& bytes) {
    TPEResourceModule module;
    Load(module, bytes);
    return module.ResourceCount();
  };
  ASSERT_EQ(walk(image), 2);
  size_t typeEntries = kSectionStart + 16;
  std::vector<uint8_t> bad = image;
  WriteU32LE(&bad[typeEntries + 4], 0x80000000u | 0x7FFFFFF0u);  // subdirectory far outside
  EXPECT_EQ(walk(bad), 1);
  bad = image;
  WriteU32LE(&bad[typeEntries + 4], 0x80000000u);  // back to the root: a cycle
  EXPECT_EQ(walk(bad), 1);
  bad = image;
  WriteU32LE(&bad[typeEntries], 0x80000000u | 0x7FFFFFF0u);  // type string outside
  EXPECT_EQ(walk(bad), 0);
  bad = image;
  WriteU16LE(&bad[kSectionStart + 14], 0xFFFF);  // more root entries than the section holds
  EXPECT_EQ(walk(bad), 0);
  bad = image;
  // The data entry of the first resource points past every section: it is skipped.
  size_t firstDataEntry = kSectionStart + U32At(image, kSectionStart + 76);
  WriteU32LE(&bad[firstDataEntry], 0x7FFF0000);
  EXPECT_EQ(walk(bad), 1);
  bad = image;
  WriteU32LE(&bad[firstDataEntry + 4], 0xFFFFFFF0);  // size cut to what the section holds
  TPEResourceModule cut;
  Load(cut, bad);
  ASSERT_EQ(cut.ResourceCount(), 2);
  EXPECT_LT(cut.ResourceDetails(0)->Bytes().size(), 0x400u);
}

TEST(PEDamagedImages, TruncatedFileKeepsWhatItHas) {
  std::vector<uint8_t> image = TemplateImage({{"3", "1", 1033, Filled(744, 3)}});
  image.resize(0x200 + 0x100);
  TPEResourceModule module;
  Load(module, image);
  ASSERT_EQ(module.ResourceCount(), 1);
  EXPECT_EQ(module.ResourceDetails(0)->Bytes().size(), 0x100u - 0x60u);
}

TEST(PEChecksum, WordSumWithFoldedCarriesPlusLength) {
  std::vector<uint8_t> bytes = {0xFF, 0xFF, 0x02, 0x00, 9, 9, 9, 9, 0x01};
  // 0xFFFF + 2 = 0x10001 -> 0x0002; the field at 4..7 counts as zero; then + 0x0001; + 9 bytes.
  EXPECT_EQ(ImageCheckSum(bytes, 4), 0x0003u + 9u);
}

TEST(PEImage64, ReadsAndWritesPE32PlusHeaders) {
  std::vector<uint8_t> image = TemplateImage({{"3", "1", 1033, {5}}});
  // Turn the template into a PE32+ image: 240-byte optional header, 8-byte ImageBase at 24.
  std::vector<uint8_t> optional(image.begin() + kOptional, image.begin() + kOptional + 224);
  std::vector<uint8_t> wide(240, 0);
  std::copy_n(optional.begin(), 24, wide.begin());
  WriteU16LE(&wide[0], 0x020B);
  WriteU32LE(&wide[24], 0x80000000);  // ImageBase low and high words
  WriteU32LE(&wide[28], 0x00000001);
  std::copy(optional.begin() + 32, optional.begin() + 92, wide.begin() + 32);
  std::copy(optional.begin() + 92, optional.begin() + 224, wide.begin() + 108);
  std::vector<uint8_t> plus(image.begin(), image.begin() + kOptional);
  WriteU16LE(&plus[0xE0 + 4 + 16], 240);
  plus.insert(plus.end(), wide.begin(), wide.end());
  plus.insert(plus.end(), image.begin() + kSectionHeader, image.begin() + kSectionHeader + 40);
  WriteU32LE(&plus[kOptional + 240 + 20], 0x400);  // raw data moved behind the longer headers
  plus.resize(0x400, 0);
  plus.insert(plus.end(), image.begin() + 0x200, image.end());

  TPEResourceModule module;
  Load(module, plus);
  EXPECT_TRUE(module.IsPE32Plus());
  ASSERT_EQ(module.ResourceCount(), 1);
  EXPECT_EQ(module.DataDirectory(2).VirtualAddress, 0x200u);
  AddRecord(module, "3", "2", 1033, Filled(100, 1));
  std::vector<uint8_t> rewritten = Save(module);
  EXPECT_EQ(U32At(rewritten, kOptional + 24), 0x80000000u) << "no BaseOfData in ImageBase";
  EXPECT_EQ(U32At(rewritten, kOptional + 28), 1u);
  TPEResourceModule reread;
  Load(reread, rewritten);
  EXPECT_EQ(reread.ResourceCount(), 2);
}

TEST(PEImageFiles, SaveToFileReplacesOnlyWhenComplete) {
  test::TempDir dir;
  std::string path = dir.File("lib.icl");
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  AddRecord(module, "3", "1", 1033, Filled(744, 1));
  module.SaveToFile(path);
  TPEResourceModule reread;
  reread.DecodeFile(path);
  EXPECT_EQ(reread.ResourceCount(), 1);

  TPEResourceModule broken;
  broken.InitializeResourceOnlyImage(".rsrc");
  broken.SetDataDirectory(2, {0x9000, 16});  // no section holds the resources any more
  EXPECT_THROW(broken.SaveToFile(path), EPEException);
  TPEResourceModule still;
  still.DecodeFile(path);
  EXPECT_EQ(still.ResourceCount(), 1);
}

}  // namespace
}  // namespace varnel

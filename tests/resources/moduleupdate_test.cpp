// Writing a collection's edited images back into the module it was read from.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "iconfixtures.h"
#include "realmodules.h"
#include "resources/bytesearch.h"
#include "resources/iconpatch.h"
#include "resources/modulerebuild.h"
#include "resources/modulesignature.h"
#include "resources/moduleupdate.h"
#include "resources/pefile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::DibIcon;
using test::DibImageBytes;

constexpr const char* kSizeRefusal =
    "Icon 0, subicon 0: data sizes in source file and library are different";

// Three icons (the first with two images) saved as a 32-bit or a 16-bit library.
std::string WriteLibrary(const test::TempDir& dir, bool sixteenBit) {
  TIconLibrary library;
  library.Icons.AddIcon("first", DibIcon({16, 32}, 4, 0x10));
  library.Icons.AddIcon("second", DibIcon({32}, 8, 0x30));
  library.Icons.AddIcon("third", DibIcon({48}, 4, 0x50));
  std::string path = dir.File(sixteenBit ? "lib16.dll" : "lib32.dll");
  if (sixteenBit)
    library.SaveAs16Bit(path);
  else
    library.SaveAs32Bit(path);
  return path;
}

TIconLibrary Load(const std::string& path) {
  TIconLibrary library;
  library.LoadFromFile(path);
  return library;
}

TSubIcon& ImageAt(TIconLibrary& library, int icon, int image) {
  return *library.Icon(icon)->Images()[image];
}

// Same size and depth, other pixels.
void Recolour(TIconLibrary& library, int icon, int image, uint8_t seed) {
  TSubIcon& target = ImageAt(library, icon, image);
  target.SetData(DibImageBytes(target.ImageWidth(), target.BitsPerPixel(), seed));
}

size_t CheckSumOffset(const std::vector<uint8_t>& image) {
  return LocatePEGuardFields(image).value().checkSumOffset;
}

bool CheckSumValid(const std::vector<uint8_t>& image) {
  size_t at = CheckSumOffset(image);
  return ReadU32LE(&image[at]) == ImageCheckSum(image, at);
}

// A dummy WIN_CERTIFICATE appended to the image and referenced by its directory entry.
void AppendCertificate(std::vector<uint8_t>& image) {
  uint32_t offset = uint32_t(image.size());
  std::vector<uint8_t> certificate(24, 0xC5);
  WriteU32LE(&certificate[0], uint32_t(certificate.size()));
  WriteU16LE(&certificate[4], 0x0200);
  WriteU16LE(&certificate[6], 0x0002);
  image.insert(image.end(), certificate.begin(), certificate.end());
  size_t entry = LocatePEGuardFields(image).value().certificateEntryOffset.value();
  WriteU32LE(&image[entry], offset);
  WriteU32LE(&image[entry + 4], uint32_t(certificate.size()));
}

TEST(ByteSearch, FindsEveryOccurrenceUpToTheLastPossiblePosition) {
  std::vector<uint8_t> data = {1, 1, 1, 2, 1, 1};
  std::vector<uint8_t> twoOnes = {1, 1};
  int64_t count = 0;
  EXPECT_EQ(FindFirstOccurrence(twoOnes, data, count), 0);
  EXPECT_EQ(count, 3);  // overlapping at 0 and 1, and at the very end
  EXPECT_EQ(FindNextOccurrence(twoOnes, data, 2), 4);
  EXPECT_EQ(FindNextOccurrence(twoOnes, data, 5), -1);
  EXPECT_EQ(FindFirstOccurrence(data, data, count), 0);
  EXPECT_EQ(count, 1);
  std::vector<uint8_t> longer(7, 1), empty;
  EXPECT_EQ(FindFirstOccurrence(longer, data, count), -1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(FindFirstOccurrence(empty, data, count), -1);
  EXPECT_EQ(FindNextOccurrence(empty, data, 0), -1);
}

TEST(PatchInPlace, RecolourChangesOnlyTheImageAndTheCheckSum) {
  test::TempDir dir;
  std::string path = WriteLibrary(dir, false);
  std::vector<uint8_t> before = ReadWholeFile(path);
  TIconLibrary library = Load(path);
  std::vector<uint8_t> old = ImageAt(library, 1, 0).Data().ToVector();
  Recolour(library, 1, 0, 0x77);

  IconUpdateResult result = UpdateModuleIcons(path, library);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(result.written);
  std::vector<uint8_t> after = ReadWholeFile(path);
  ASSERT_EQ(after.size(), before.size());
  int64_t count = 0;
  int64_t at = FindFirstOccurrence(old, before, count);
  ASSERT_EQ(count, 1);
  size_t checkSum = CheckSumOffset(before);
  for (size_t i = 0; i < before.size(); ++i) {
    bool inImage = i >= size_t(at) && i < size_t(at) + old.size();
    bool inCheckSum = i >= checkSum && i < checkSum + 4;
    if (!inImage && !inCheckSum) {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
  EXPECT_TRUE(CheckSumValid(after));
  EXPECT_EQ(Load(path).Icon(1)->Images()[0]->Data(), ImageAt(library, 1, 0).Data());

  // A module without a checksum keeps none.
  std::vector<uint8_t> unsummed = after;
  WriteU32LE(&unsummed[checkSum], 0);
  WriteFileAtomic(path, unsummed);
  Recolour(library, 1, 0, 0x78);
  ASSERT_TRUE(UpdateModuleIcons(path, library).written);
  EXPECT_EQ(ReadU32LE(&ReadWholeFile(path)[checkSum]), 0u);
}

TEST(PatchInPlace, IdenticalImagesAreToldApartByReloadingFromMemory) {
  test::TempDir dir;
  TIconLibrary twins;
  twins.Icons.AddIcon("a", DibIcon({32}, 4, 0x20));
  twins.Icons.AddIcon("b", DibIcon({32}, 4, 0x20));
  std::string path = dir.File("twins.dll");
  twins.SaveAs32Bit(path);
  std::string tmp = dir.File("twins.tmp");
  test::WriteText(tmp, "the user's own file");
  TIconLibrary library = Load(path);
  Recolour(library, 1, 0, 0x99);

  ASSERT_TRUE(UpdateModuleIcons(path, library).written);
  TIconLibrary back = Load(path);
  EXPECT_EQ(ImageAt(back, 1, 0).Data(), ImageAt(library, 1, 0).Data());
  EXPECT_EQ(ImageAt(back, 0, 0).Data(), ImageAt(twins, 0, 0).Data());
  EXPECT_EQ(test::FileText(tmp), "the user's own file");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(UpdateModule, GrowingAnImageRebuildsA32BitModuleKeepingOverlayAndPermissions) {
  test::TempDir dir;
  std::string path = WriteLibrary(dir, false);
  std::vector<uint8_t> bytes = ReadWholeFile(path);
  std::vector<uint8_t> overlay(1000);
  for (size_t i = 0; i < overlay.size(); ++i) overlay[i] = uint8_t(i * 13);
  bytes.insert(bytes.end(), overlay.begin(), overlay.end());
  WriteFileAtomic(path, bytes);
  ::chmod(path.c_str(), 0640);
  TIconLibrary library = Load(path);
  library.Icons.SetName(2, "renamed");
  ImageAt(library, 0, 0).SetData(DibImageBytes(24, 8, 0x42));

  EXPECT_EQ(PatchIconsInPlace(path, library).message, kSizeRefusal);
  IconUpdateResult result = UpdateModuleIcons(path, library);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(result.written);
  std::vector<uint8_t> after = ReadWholeFile(path);
  ASSERT_GE(after.size(), overlay.size());
  EXPECT_TRUE(std::equal(overlay.begin(), overlay.end(), after.end() - overlay.size()));
  EXPECT_TRUE(CheckSumValid(after));
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  TIconLibrary back = Load(path);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.Icons.Names(2), "renamed");
  EXPECT_EQ(ImageAt(back, 0, 0).Data(), ImageAt(library, 0, 0).Data());
  EXPECT_EQ(ImageAt(back, 2, 0).Data(), ImageAt(library, 2, 0).Data());
}

TEST(UpdateModule, GroupsSharingAnImageGetOneEachWhenRebuilt) {
  test::TempDir dir;
  std::unique_ptr<TSubIcon> image = test::DibImage(32, 4);
  std::vector<uint8_t> group(20, 0);
  WriteU16LE(&group[2], 1);
  WriteU16LE(&group[4], 1);
  TIconDirEntry entry = image->Entry();
  entry.Encode(&group[6]);
  WriteU16LE(&group[18], 1);
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  for (const char* name : {"A", "B"})
    module.AddResource(CreateResourceDetails(&module, 1033, name, "14", group));
  module.AddResource(CreateResourceDetails(&module, 1033, "1", "3", image->Data()));
  std::string path = dir.File("shared.dll");
  module.SaveToFile(path);
  TIconLibrary library = Load(path);
  ASSERT_EQ(library.Count(), 2);
  ImageAt(library, 1, 0).SetData(DibImageBytes(48, 4, 0x66));

  EXPECT_EQ(UpdateModuleIcons(path, library).message, "");
  TIconLibrary back = Load(path);
  EXPECT_EQ(ImageAt(back, 0, 0).Data(), image->Data());
  EXPECT_EQ(ImageAt(back, 1, 0).Data(), ImageAt(library, 1, 0).Data());
}

TEST(UpdateModule, RefusalsLeaveTheFileAsItWas) {
  test::TempDir dir;
  std::string path16 = WriteLibrary(dir, true);
  std::vector<uint8_t> before16 = ReadWholeFile(path16);
  TIconLibrary library16 = Load(path16);
  ASSERT_EQ(library16.Count(), 3);
  ImageAt(library16, 0, 0).SetData(DibImageBytes(24, 4, 0x42));
  EXPECT_EQ(UpdateModuleIcons(path16, library16).message, kSizeRefusal);
  EXPECT_EQ(ReadWholeFile(path16), before16);

  std::string path32 = WriteLibrary(dir, false);
  std::vector<uint8_t> before32 = ReadWholeFile(path32);
  TIconLibrary library32 = Load(path32);
  library32.Icon(1)->Images().Add(test::DibImage(16, 4));
  EXPECT_EQ(PatchIconsInPlace(path32, library32).message,
            "Icon 1: images amounts in file and library are different");
  EXPECT_EQ(UpdateModuleIcons(path32, library32).message,
            "Icon 1: frame quantity in source file and library are different");
  library32.Icons.AddIcon("extra", DibIcon({16}));
  EXPECT_EQ(UpdateModuleIcons(path32, library32).message,
            "Icon amounts in source file and library are different");
  EXPECT_EQ(ReadWholeFile(path32), before32);

  std::string text = dir.File("notes.txt");
  test::WriteText(text, "MZ is not enough to make a module of a text file\n");
  EXPECT_EQ(UpdateModuleIcons(text, library32).message, "Not icon library file");

  // A section table cut short: decoding fails, and nothing is written.
  size_t table = LocatePEGuardFields(before32).value().checkSumOffset - 64 +
                 ReadU16LE(&before32[ReadU32LE(&before32[60]) + 20]);
  std::vector<uint8_t> cut(before32.begin(), before32.begin() + table + 10);
  std::string damaged = dir.File("damaged.dll");
  WriteFileAtomic(damaged, cut);
  EXPECT_EQ(UpdateModuleIcons(damaged, library32).message,
            "Exe-protector is possible used by file creator");
  EXPECT_EQ(ReadWholeFile(damaged), cut);
}

TEST(UpdateModule, RenamingOnlyWritesNothing) {
  test::TempDir dir;
  std::string path = WriteLibrary(dir, false);
  std::vector<uint8_t> before = ReadWholeFile(path);
  TIconLibrary library = Load(path);
  library.Icons.SetName(0, "new name");
  IconUpdateResult result = UpdateModuleIcons(path, library);
  EXPECT_EQ(result.message, "");
  EXPECT_FALSE(result.written);
  EXPECT_EQ(ReadWholeFile(path), before);
}

TEST(UpdateModule, ASignatureIsRemovedCleanlyByBothStrategies) {
  test::TempDir dir;
  std::string path = WriteLibrary(dir, false);
  std::vector<uint8_t> unsigned_ = ReadWholeFile(path);
  std::vector<uint8_t> signed_ = unsigned_;
  AppendCertificate(signed_);
  for (bool grow : {false, true}) {
    WriteFileAtomic(path, signed_);
    TIconLibrary library = Load(path);
    if (grow)
      ImageAt(library, 2, 0).SetData(DibImageBytes(64, 4, 0x11));
    else
      Recolour(library, 2, 0, 0x11);
    IconUpdateResult result = UpdateModuleIcons(path, library);
    EXPECT_EQ(result.message, "");
    EXPECT_TRUE(result.signatureRemoved);
    EXPECT_NE(result.Notice(), "");
    std::vector<uint8_t> after = ReadWholeFile(path);
    size_t entry = LocatePEGuardFields(after).value().certificateEntryOffset.value();
    EXPECT_EQ(ReadU32LE(&after[entry]), 0u);
    EXPECT_EQ(ReadU32LE(&after[entry + 4]), 0u);
    if (!grow) {
      EXPECT_EQ(after.size(), unsigned_.size());
    }
    EXPECT_TRUE(CheckSumValid(after));
    std::string pefile = test::RunCommand(
        "/usr/bin/python3 -c \"import pefile,sys; p=pefile.PE(sys.argv[1]); "
        "d=p.OPTIONAL_HEADER.DATA_DIRECTORY[4]; "
        "print(d.VirtualAddress, d.Size, len(p.get_overlay() or b''), "
        "p.verify_checksum())\" '" +
        path + "' 2>&1");
    if (pefile.find("No module named") == std::string::npos) {
      EXPECT_EQ(pefile, "0 0 0 True\n") << (grow ? "rebuilt" : "patched");
    }
  }
}

}  // namespace
}  // namespace varnel

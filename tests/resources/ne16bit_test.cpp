// The 16-bit ICL writer's exact layout and alignment, and the NE reader on what it wrote, on
// damaged tables and on every icon of the corpus.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "iconfixtures.h"
#include "resources/iconlibrary.h"
#include "resources/modulecensus.h"
#include "resources/ne16bitreader.h"
#include "resources/ne16bitwriter.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::DibIcon;

std::unique_ptr<TAdvancedIcon> IconOfRawImages(const std::vector<size_t>& sizes) {
  auto icon = std::make_unique<TAdvancedIcon>();
  for (size_t size : sizes) {
    auto image = std::make_unique<TSubIcon>();
    image->SetData(std::vector<uint8_t>(size, 0x11));
    icon->Images().Add(std::move(image));
  }
  return icon;
}

uint16_t U16(const std::vector<uint8_t>& bytes, size_t offset) {
  return ReadU16LE(&bytes[offset]);
}

struct NameInfo {
  uint16_t offset, length, flags, id;
};

NameInfo NameInfoAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return {U16(bytes, offset), U16(bytes, offset + 2), U16(bytes, offset + 4),
          U16(bytes, offset + 6)};
}

TEST(NE16BitWriter, OneIconOf744BytesIsPackedWithoutGaps) {
  TIconList icons;
  icons.AddIcon("", test::Icon744());
  T16BitWriter writer(icons);
  std::vector<uint8_t> file = writer.BuildImage();
  EXPECT_EQ(writer.AlignShift, 0);
  ASSERT_EQ(file.size(), 1014u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 2), "MZ");
  EXPECT_EQ(U16(file, 60), 128);
  EXPECT_EQ(std::string(file.begin() + 126, file.begin() + 130), "IMNE");
  EXPECT_EQ(U16(file, 162), 64);
  EXPECT_EQ(U16(file, 164), 64);
  EXPECT_EQ(U16(file, 166), 236 - 128);
  EXPECT_EQ(U16(file, 182), 2);
  EXPECT_EQ(file[191], 3);
  EXPECT_EQ(U16(file, 192), 0);
  EXPECT_EQ(U16(file, 194), 0x800E);
  EXPECT_EQ(U16(file, 196), 1);
  NameInfo group = NameInfoAt(file, 202);
  EXPECT_EQ(group.offset, 248);
  EXPECT_EQ(group.length, 20);
  EXPECT_EQ(group.flags, 0x1C30);
  EXPECT_EQ(group.id, 0x8001);
  EXPECT_EQ(U16(file, 214), 0x8003);
  EXPECT_EQ(U16(file, 216), 1);
  NameInfo image = NameInfoAt(file, 222);
  EXPECT_EQ(image.offset, 268);
  EXPECT_EQ(image.length, 744);
  EXPECT_EQ(image.id, 0x8001);
  EXPECT_EQ(U16(file, 234), 0);
  const uint8_t names[12] = {3, 'I', 'C', 'L', 6, 'I', 'c', 'o', 'n', ' ', '1', 0};
  EXPECT_TRUE(std::equal(names, names + 12, file.begin() + 236));
  const uint8_t directory[20] = {0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 1, 0};
  EXPECT_TRUE(std::equal(directory, directory + 20, file.begin() + 248));
  EXPECT_TRUE(std::equal(file.begin() + 268, file.begin() + 1012,
                         icons.Icons(0)->Images()[0]->Data().begin()));
  EXPECT_EQ(U16(file, 1012), 0);
}

TEST(NE16BitWriter, EstimateOf70000BytesAlignsEverythingToTwo) {
  TIconList icons;
  icons.AddIcon("", IconOfRawImages({70000 - 248 - 20}));
  T16BitWriter writer(icons);
  std::vector<uint8_t> file = writer.BuildImage();
  EXPECT_EQ(writer.AlignShift, 1);
  EXPECT_EQ(U16(file, 192), 1);
  NameInfo group = NameInfoAt(file, 202), image = NameInfoAt(file, 222);
  EXPECT_EQ(group.offset, 248 / 2);
  EXPECT_EQ(group.length, 10);
  EXPECT_EQ(image.offset, 268 / 2);
  EXPECT_EQ(image.length, (70000 - 268) / 2);
  EXPECT_EQ(file.size(), 70002u);
}

TEST(NE16BitWriter, ShiftGrowsWhenAlignmentGapsPushOffsetsPastTheEstimate) {
  // Estimated at exactly 0xFFFF << 1, but four padded odd images move the last one beyond it.
  TIconList icons;
  icons.AddIcon("", IconOfRawImages({32673, 32673, 32675, 32675, 2}));
  T16BitWriter writer(icons);
  std::vector<uint8_t> file = writer.BuildImage();
  ASSERT_EQ(writer.AlignShift, 2);
  size_t record = 202 + 12 + 8;
  size_t expectedStart = 296 + 76;
  for (size_t j = 0; j < 5; ++j, record += 12) {
    NameInfo image = NameInfoAt(file, record);
    EXPECT_EQ(size_t(image.offset) << 2, expectedStart) << j;
    expectedStart += size_t(image.length) << 2;
    EXPECT_EQ(file[size_t(image.offset) << 2], 0x11);
  }
}

TEST(NE16BitWriter, LongNamesAreCutTo255BytesAtACharacterBoundary) {
  TIconList icons;
  icons.AddIcon(std::string(300, 'a'), DibIcon({16}));
  icons.AddIcon(std::string(254, 'b') + "\xC3\xA9" + "tail", DibIcon({16}));
  std::vector<uint8_t> file = T16BitWriter(icons).BuildImage();
  size_t names = 128 + U16(file, 166) + 4;
  EXPECT_EQ(file[names], 255);
  EXPECT_EQ(file[names + 256], 254);
  T16BitReader reader(file, "long");
  ASSERT_TRUE(reader.ReadIcons());
  EXPECT_EQ(reader.List[0].name, std::string(255, 'a'));
  EXPECT_EQ(reader.List[1].name, std::string(254, 'b'));
}

TEST(NE16BitWriter, MoreThan32767IconsOrImagesAreRefusedAndNothingIsWritten) {
  test::TempDir dir;
  TIconLibrary library;
  library.Icons.AddIcon("many", IconOfRawImages(std::vector<size_t>(32768, 2)));
  EXPECT_THROW(library.SaveAs16Bit(dir.File("a.icl")), EICLReadError);
  library.Icons.Clear();
  for (int i = 0; i < 32768; ++i) library.Icons.AddIcon("", std::make_unique<TAdvancedIcon>());
  try {
    library.SaveAs16Bit(dir.File("a.icl"));
    FAIL();
  } catch (const EICLReadError& error) {
    EXPECT_STREQ(error.what(), "Iconlibraries with more than 32767 are not possible");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.icl")));
  library.Icons.Delete(0);
  library.SaveAs16Bit(dir.File("a.icl"));
  EXPECT_TRUE(std::filesystem::exists(dir.File("a.icl")));
}

std::vector<uint8_t> TwoIconLibrary() {
  TIconList icons;
  icons.AddIcon("alpha", DibIcon({32, 16, 48}));
  icons.AddIcon("beta", DibIcon({24}));
  return T16BitWriter(icons).BuildImage();
}

TEST(NE16BitReader, TooFewNamesNameEveryIconAfterTheFile) {
  std::vector<uint8_t> file = TwoIconLibrary();
  size_t names = 128 + U16(file, 166);
  file[names + 4 + 6] = 0;  // the table ends after "alpha"
  test::TempDir dir;
  WriteFileAtomic(dir.File("icons.icl"), file);
  T16BitReader reader(dir.File("icons.icl"));
  ASSERT_TRUE(reader.ReadIcons());
  ASSERT_EQ(reader.List.size(), 2u);
  EXPECT_EQ(reader.List[0].name, "icons 001");
  EXPECT_EQ(reader.List[1].name, "icons 002");
  EXPECT_EQ(reader.List[0].icon->Images().Count(), 3);
  ASSERT_TRUE(reader.ReadNames());
  EXPECT_EQ(reader.List[1].name, "icons 002");
  EXPECT_EQ(reader.List[1].icon, nullptr);
}

TEST(NE16BitReader, MissingIconResourceKeepsTheImagesBeforeIt) {
  std::vector<uint8_t> file = TwoIconLibrary();
  size_t directory = size_t(U16(file, 202));
  WriteU16LE(&file[directory + 6 + 14 + 12], 99);  // the second entry names image 99
  T16BitReader reader(file, "x");
  ASSERT_TRUE(reader.ReadIcons());
  EXPECT_EQ(reader.List[0].icon->Images().Count(), 1);
  EXPECT_EQ(reader.List[1].icon->Images().Count(), 1);
}

TEST(NE16BitReader, DamagedImageIsDroppedAndTheGroupsOtherImagesStay) {
  std::vector<uint8_t> file = TwoIconLibrary();
  const uint8_t header16[] = {40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0};
  auto at = std::search(file.begin(), file.end(), std::begin(header16), std::end(header16));
  ASSERT_NE(at, file.end());
  WriteU32LE(&*at + 4, 0x7FFFFFFF);  // the 16-pixel image of "alpha" claims a huge width
  T16BitReader reader(file, "x");
  ASSERT_TRUE(reader.ReadIcons());
  std::vector<int> widths;
  for (const auto& image : reader.List[0].icon->Images()) widths.push_back(image->ImageWidth());
  EXPECT_EQ(widths, (std::vector<int>{32, 48}));
  EXPECT_EQ(reader.List[1].icon->Images().Count(), 1);
}

TEST(NE16BitReader, NamesTableEndingAtTheEndOfTheFileEndsTheNames) {
  std::vector<uint8_t> file = TwoIconLibrary();
  size_t names = 128 + U16(file, 166);
  std::vector<uint8_t> cut(file.begin(), file.begin() + int64_t(names + 4 + 6 + 1 + 4));
  T16BitReader reader(cut, "cut");
  ASSERT_TRUE(reader.ReadNames());
  EXPECT_EQ(reader.List[0].name, "alpha");
  EXPECT_EQ(reader.List[1].name, "beta");
  std::vector<uint8_t> mid(file.begin(), file.begin() + int64_t(names + 4 + 6 + 1 + 2));
  T16BitReader midReader(mid, "mid");
  ASSERT_TRUE(midReader.ReadIcons());
  EXPECT_EQ(midReader.List[1].name, "be");
  EXPECT_EQ(midReader.List[1].icon->Images().Count(), 0);  // its data lay beyond the cut
}

TEST(NE16BitReader, DamagedHeadersAndTablesReadNothing) {
  std::vector<uint8_t> good = TwoIconLibrary();
  auto readsWith = [&](size_t offset, uint16_t value) {
    std::vector<uint8_t> file = good;
    WriteU16LE(&file[offset], value);
    T16BitReader reader(file, "d");
    bool ok = reader.ReadIcons();
    EXPECT_TRUE(ok || reader.List.empty());
    return ok;
  };
  EXPECT_TRUE(readsWith(2, 0));
  EXPECT_FALSE(readsWith(0, 0x4D5A));    // no "MZ"
  EXPECT_FALSE(readsWith(60, 59));       // NE offset below 60
  EXPECT_FALSE(readsWith(128, 0x4550));  // no "NE"
  EXPECT_FALSE(readsWith(164, 0));       // no resource table
  EXPECT_FALSE(readsWith(166, 0));       // no names table
  EXPECT_FALSE(readsWith(226, 0x8005));  // no icon block
  EXPECT_FALSE(readsWith(192, 40));      // absurd alignment shift
  EXPECT_FALSE(readsWith(196, 0xFFFF));  // more group records than the file holds
  EXPECT_FALSE(T16BitReader(std::span<const uint8_t>(), "e").ReadIcons());
}

// A 16-bit module of one cursor group: a library written with one image whose bytes are a
// cursor resource's (hotspot, then the image), its type blocks turned into the cursor types.
TEST(NE16BitReader, ModuleOfCursorsAloneGivesCursorsWithHotSpots) {
  std::vector<uint8_t> resource = {27, 0, 5, 0};
  std::vector<uint8_t> dib = test::DibImageBytes(32, 1);
  resource.insert(resource.end(), dib.begin(), dib.end());
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().Add(std::make_unique<TSubIcon>());
  icon->Images()[0]->SetData(resource);
  TIconList icons;
  icons.AddIcon("arrow", std::move(icon));
  std::vector<uint8_t> file = T16BitWriter(icons).BuildImage();
  WriteU16LE(&file[194], 0x800C);           // RT_GROUP_CURSOR
  WriteU16LE(&file[194 + 8 + 12], 0x8001);  // RT_CURSOR
  ModuleCensus census = TakeModuleCensus(file);
  EXPECT_EQ(census.iconCount, 0);
  EXPECT_EQ(census.cursorCount, 1);
  test::TempDir dir;
  WriteFileAtomic(dir.File("cursors.dll"), file);
  TIconLibrary library;
  EXPECT_TRUE(library.LoadFromFile(dir.File("cursors.dll")));
  ASSERT_EQ(library.Count(), 1);
  EXPECT_EQ(library.Icons.Names(0), "1");
  ASSERT_EQ(library.Icon(0)->Images().Count(), 1);
  EXPECT_EQ(library.Icon(0)->Images()[0]->HotSpot(), 27u + (5u << 16));
  EXPECT_EQ(library.Icon(0)->Images()[0]->Data(), dib);
  EXPECT_TRUE(IsCursorIcon(*library.Icon(0)));
}

TEST(NE16BitRoundTrip, EveryCorpusIconReadsBackWithNamesAndOrder) {
  std::vector<std::string> files = test::CorpusFiles("ico", {".ico"});
  if (files.empty()) GTEST_SKIP() << "no corpus";
  TIconLibrary library;
  for (const std::string& path : files) {
    auto icon = std::make_unique<TAdvancedIcon>();
    try {
      icon->LoadFromFile(path);
    } catch (const std::exception&) {
      continue;
    }
    if (icon->Images().Count() == 0) continue;
    std::string name =
        std::to_string(library.Count()) + " " + std::filesystem::path(path).stem().string();
    library.Icons.AddIcon(name, std::move(icon));
  }
  ASSERT_GT(library.Count(), 10);
  test::TempDir dir;
  library.SaveAs16Bit(dir.File("corpus.icl"));
  TIconLibrary back;
  EXPECT_TRUE(back.LoadFromFile(dir.File("corpus.icl")));
  EXPECT_TRUE(back.IsModule);
  EXPECT_FALSE(back.Is32Bit);
  EXPECT_EQ(back.ModuleIconCount, library.Count());
  ASSERT_EQ(back.Count(), library.Count());
  for (int i = 0; i < back.Count(); ++i) {
    EXPECT_EQ(back.Icons.Names(i), library.Icons.Names(i));
    const TSubIconList& a = library.Icon(i)->Images();
    const TSubIconList& b = back.Icon(i)->Images();
    ASSERT_EQ(a.Count(), b.Count()) << library.Icons.Names(i);
    for (int k = 0; k < a.Count(); ++k) {
      EXPECT_EQ(a[k]->Data(), b[k]->Data()) << library.Icons.Names(i) << " " << k;
      EXPECT_EQ(a[k]->Entry(), b[k]->Entry()) << library.Icons.Names(i) << " " << k;
    }
  }
}

// Wine's 16-bit display driver is a PE file that carries the NE module after its own headers;
// its one icon group has the integer id 1 and the module names a resource type "OEMBIN".
TEST(NE16BitReader, ModuleGroupsAreNamedByTheirIdsNotByResourceStrings) {
  const std::string driver = "/usr/lib/i386-linux-gnu/wine/i386-windows/display.drv16";
  if (!std::filesystem::exists(driver)) GTEST_SKIP() << driver << " is missing (wine32)";
  std::vector<uint8_t> file = ReadWholeFile(driver);
  size_t ne = 2;
  for (; ne + 64 < file.size(); ++ne) {
    size_t header = ne + U16(file, ne + 60);
    if (file[ne] == 'M' && file[ne + 1] == 'Z' && header + 2 < file.size() && file[header] == 'N' &&
        file[header + 1] == 'E')
      break;
  }
  ASSERT_LT(ne + 64, file.size()) << "no NE module inside " << driver;
  std::vector<uint8_t> module(file.begin() + int64_t(ne), file.end());
  T16BitReader reader(module, "display");
  ASSERT_TRUE(reader.ReadIcons());
  ASSERT_EQ(reader.List.size(), 1u);
  EXPECT_EQ(reader.List[0].name, "1");  // as wrestool names it: --type=14 --name=1
  EXPECT_EQ(reader.List[0].icon->Images().Count(), 10);
}

}  // namespace
}  // namespace varnel

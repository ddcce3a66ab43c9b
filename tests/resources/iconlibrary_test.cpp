// Icon lists, the unique-name check, the 32-bit ICL writer and loading libraries back, also from
// real modules with icoutils and pefile as oracles.

#include "resources/iconlibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "iconfixtures.h"
#include "icons/filer.h"
#include "realmodules.h"
#include "resources/iclwriter32.h"
#include "resources/iconcursorgroupresource.h"
#include "resources/iconlistholder.h"
#include "resources/modulecensus.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::DibIcon;
using test::Icon744;

std::vector<std::string> NamesOf(const TIconList& icons) {
  std::vector<std::string> names;
  for (int i = 0; i < icons.Count(); ++i) names.push_back(icons.Names(i));
  return names;
}

TIconList ListOfNames(const std::vector<std::string>& names) {
  TIconList icons;
  for (const std::string& name : names) icons.AddIcon(name, DibIcon({16}));
  return icons;
}

// ---- The list ----

TEST(IconList, UnnamedIconsAreNamedAfterTheirPosition) {
  TIconList icons;
  icons.AddIcon("", DibIcon({16}));
  EXPECT_EQ(icons.Names(0), "Icon 1");
  for (int i = 0; i < 3; ++i) icons.AddIcon("x", DibIcon({16}));
  icons.AddIcon("", DibIcon({16}));
  EXPECT_EQ(icons.Names(4), "Icon 5");
  icons.AddIcon("none", nullptr);
  EXPECT_EQ(icons.Count(), 5);
}

TEST(IconList, MovesKeepNameAndIcon) {
  TIconList source = ListOfNames({"a", "b", "c"});
  TIconList dest = ListOfNames({"x", "y"});
  TAdvancedIcon* b = source.Icons(1);
  source.MoveIconTo(1, dest);
  source.MoveIconToPosition(0, dest, 1);
  EXPECT_EQ(NamesOf(source), (std::vector<std::string>{"c"}));
  EXPECT_EQ(NamesOf(dest), (std::vector<std::string>{"x", "a", "y", "b"}));
  EXPECT_EQ(dest.Icons(3), b);
}

TEST(IconList, SortByNumberInNameAndByName) {
  TIconList icons = ListOfNames({"abc", "Icon 10", "Icon 9", "Item -2,5"});
  icons.SortIcons(3);
  EXPECT_EQ(NamesOf(icons), (std::vector<std::string>{"Item -2,5", "Icon 9", "Icon 10", "abc"}));
  TIconList signs = ListOfNames({"v+-1", "v+3", "v1.5.2", "v+2"});
  signs.SortIcons(3);  // "+-1" and "1.5.2" are no numbers: they follow, compared as text
  EXPECT_EQ(NamesOf(signs), (std::vector<std::string>{"v+2", "v+3", "v+-1", "v1.5.2"}));
  icons.SortIcons(2);
  EXPECT_EQ(NamesOf(icons), (std::vector<std::string>{"abc", "Icon 10", "Icon 9", "Item -2,5"}));
  icons.SortIcons(1);
  EXPECT_EQ(NamesOf(icons), (std::vector<std::string>{"Item -2,5", "Icon 9", "Icon 10", "abc"}));
  icons.SortIcons(7);
  EXPECT_EQ(icons.Names(0), "Item -2,5");
}

TEST(IconList, SortsByImagesKeepEqualKeysInOrder) {
  TIconList icons;
  icons.AddIcon("two32", DibIcon({32, 32}, 4));
  icons.AddIcon("one48", DibIcon({48}, 4));
  icons.AddIcon("one32", DibIcon({32}, 8));
  icons.AddIcon("also32", DibIcon({16, 32}, 4));
  icons.SortIcons(5);  // largest size, then how many images have it
  EXPECT_EQ(NamesOf(icons), (std::vector<std::string>{"one32", "also32", "two32", "one48"}));
  icons.SortIcons(6);  // greatest depth, then how many have it
  EXPECT_EQ(NamesOf(icons), (std::vector<std::string>{"one48", "also32", "two32", "one32"}));
  icons.SortIcons(4);
  EXPECT_EQ(NamesOf(icons), (std::vector<std::string>{"one48", "one32", "also32", "two32"}));
}

TEST(IconList, FilerPropertyRoundTripsThroughTheHolder) {
  TIconListHolder holder;
  holder.IconList().AddIcon(std::string(300, 'n'), DibIcon({16, 32}));
  holder.IconList().AddIcon("second", DibIcon({48}));
  MemoryStream stream;
  holder.WriteProperties(stream);
  EXPECT_EQ(stream.Bytes()[0], 2);  // integer 0 as int8
  TIconListHolder copy;
  copy.IconList().AddIcon("old", DibIcon({16}));
  stream.SetPosition(0);
  copy.ReadProperties(stream);
  ASSERT_EQ(NamesOf(copy.IconList()), NamesOf(holder.IconList()));
  EXPECT_TRUE(copy.IconList().Icons(0)->SameIcon(*holder.IconList().Icons(0)));
  EXPECT_EQ(stream.Position(), stream.Size());

  MemoryStream empty;
  TIconListHolder().WriteProperties(empty);
  EXPECT_EQ(empty.Size(), 0);
}

TEST(IconList, FilerPropertyWithFalseCountFailsWithoutHanging) {
  MemoryStream stream;
  TFilerWriter writer(stream);
  writer.WriteInteger(0);
  writer.WriteInteger(1);
  writer.WriteInteger(INT32_MAX);
  stream.SetPosition(0);
  TFilerReader reader(stream);
  TIconList icons;
  EXPECT_THROW(icons.ReadIconList(reader), EReadError);
}

// ---- Unique names ----

TEST(IconLibraryNames, CaseVariantsPassAndDuplicatesStopBothSaves) {
  test::TempDir dir;
  TIconLibrary library;
  library.Icons = ListOfNames({"Tool", "tool"});
  std::string message = "x";
  library.CheckUniqueNames(message);
  EXPECT_EQ(message, "");

  library.Icons = ListOfNames({"Tool", "tool", "Other", "Tool"});
  try {
    library.CheckUniqueNames(message);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Please correct icon names. Non-unique icon name \"Tool\" found.");
    EXPECT_EQ(message, error.what());
  }
  EXPECT_THROW(library.SaveAs32Bit(dir.File("a.icl")), Exception);
  EXPECT_THROW(library.SaveAs16Bit(dir.File("b.icl")), Exception);
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.icl")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.icl")));
}

// ---- The 32-bit writer ----

struct PELayout {
  explicit PELayout(const std::vector<uint8_t>& image) : bytes(image) {
    size_t lfanew = ReadU32LE(&bytes[60]);
    optional = lfanew + 24;
    section = optional + ReadU16LE(&bytes[lfanew + 20]);
  }
  uint32_t U32(size_t offset) const { return ReadU32LE(&bytes[offset]); }
  uint16_t U16(size_t offset) const { return ReadU16LE(&bytes[offset]); }
  const std::vector<uint8_t>& bytes;
  size_t optional, section;
};

TEST(Icl32Writer, OneIconOf744BytesGivesTheDocumentedLayout) {
  TIconList icons;
  icons.AddIcon("", Icon744());
  std::vector<uint8_t> file = BuildIcl32Image(icons);
  ASSERT_EQ(file.size(), 2048u);
  PELayout pe(file);
  EXPECT_EQ(pe.U32(pe.optional + 56), 0x800u);  // SizeOfImage
  EXPECT_EQ(pe.U32(pe.section + 8), 1032u);     // VirtualSize
  EXPECT_EQ(pe.U32(pe.section + 12), 0x200u);   // VirtualAddress
  EXPECT_EQ(pe.U32(pe.section + 16), 0x600u);   // SizeOfRawData
  size_t rsrc = pe.U32(pe.section + 20);
  ASSERT_EQ(rsrc, 0x200u);
  // Root directory: types 3, 14, 301 by id.
  EXPECT_EQ(pe.U16(rsrc + 14), 3);
  EXPECT_EQ(pe.U32(rsrc + 16), 3u);
  EXPECT_EQ(pe.U32(rsrc + 20), 0x80000000u | 40);
  EXPECT_EQ(pe.U32(rsrc + 24), 14u);
  EXPECT_EQ(pe.U32(rsrc + 32), 301u);
  // The group's name entry points to the string "Icon 1" at 232.
  size_t groupNames = pe.U32(rsrc + 28) & 0x7FFFFFFF;
  EXPECT_TRUE(groupNames == 40 || groupNames == 64 || groupNames == 88) << groupNames;
  EXPECT_EQ(pe.U32(rsrc + groupNames + 16), 0x80000000u | 232);
  EXPECT_EQ(pe.U16(rsrc + 232), 6);
  EXPECT_EQ(file[rsrc + 234], 'I');
  EXPECT_EQ(file[rsrc + 244], '1');
  // Data entries: image at RVA 0x300, group at section offset 1000, names at 1020.
  EXPECT_EQ(pe.U32(rsrc + 184), 0x300u);
  EXPECT_EQ(pe.U32(rsrc + 188), 744u);
  EXPECT_EQ(pe.U32(rsrc + 200), 0x200u + 1000);
  EXPECT_EQ(pe.U32(rsrc + 204), 20u);
  EXPECT_EQ(pe.U32(rsrc + 216), 0x200u + 1020);
  EXPECT_EQ(pe.U32(rsrc + 220), 12u);
  for (size_t i = 244 + 2; i < 256; ++i) EXPECT_EQ(file[rsrc + i], 0) << i;
  std::vector<uint8_t> image(file.begin() + int64_t(rsrc) + 256,
                             file.begin() + int64_t(rsrc) + 256 + 744);
  EXPECT_EQ(image, icons.Icons(0)->Images()[0]->Data());
  const uint8_t group[20] = {0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 1, 0};
  EXPECT_TRUE(std::equal(group, group + 20, file.begin() + int64_t(rsrc) + 1000));
  const uint8_t names[12] = {3, 'I', 'C', 'L', 6, 'I', 'c', 'o', 'n', ' ', '1', 0};
  EXPECT_TRUE(std::equal(names, names + 12, file.begin() + int64_t(rsrc) + 1020));
  EXPECT_EQ(pe.U32(pe.optional + 64), ImageCheckSum(file, pe.optional + 64));
}

TEST(Icl32Writer, ImagesAreNumberedAcrossIconsAndEmptyIconsOnlyNamed) {
  TIconList icons;
  icons.AddIcon("first", DibIcon({32, 16}));
  icons.AddIcon("empty", std::make_unique<TAdvancedIcon>());
  icons.AddIcon("12", DibIcon({48}));
  icons.AddIcon("012", DibIcon({24}));
  icons.AddIcon(std::string(300, 'L'), DibIcon({16}));
  TPEResourceModule module;
  BuildIcl32Module(icons, module);
  std::vector<std::string> records;
  for (int i = 0; i < module.ResourceCount(); ++i) {
    TResourceDetails* record = module.ResourceDetails(i);
    records.push_back(record->ResourceType() + "/" + record->ResourceName().substr(0, 5));
  }
  EXPECT_EQ(records, (std::vector<std::string>{"3/1", "14/first", "3/2", "3/3", "14/12", "3/4",
                                               "14/012", "3/5", "14/LLLLL", "301/1"}));
  auto* group = dynamic_cast<TIconGroupResourceDetails*>(module.FindResource("14", "first"));
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->ImageCount(), 2);
  EXPECT_EQ(group->ImageResource(0)->ResourceName(), "1");
  EXPECT_EQ(group->ImageResource(1)->ResourceName(), "2");
  EXPECT_EQ(module.FindResource("14", std::string(300, 'L'))->ResourceName().size(), 300u);
  std::span<const uint8_t> names = module.FindResource("301", "1")->Bytes();
  // 4 + (1+5) + (1+5) + (1+2) + (1+3) + (1+255) + 1
  ASSERT_EQ(names.size(), 4u + 6 + 6 + 3 + 4 + 256 + 1);
  EXPECT_EQ(names[4 + 6 + 6 + 3 + 4], 255);

  test::TempDir dir;
  WriteIcl32File(icons, dir.File("t.icl"));
  TPEResourceModule written;
  written.DecodeFile(dir.File("t.icl"));
  ASSERT_NE(written.FindResource("14", "12"), nullptr);
  EXPECT_FALSE(written.FindResource("14", "12")->NameIsString);
  ASSERT_NE(written.FindResource("14", "012"), nullptr);
  EXPECT_TRUE(written.FindResource("14", "012")->NameIsString);
  TIconLibrary library;
  EXPECT_FALSE(library.LoadFromFile(dir.File("t.icl")));
  EXPECT_TRUE(library.IsModule && library.Is32Bit);
  EXPECT_EQ(library.ModuleIconCount, 4);
  std::vector<std::string> expected = {"first", "12", "012", std::string(300, 'L')};
  std::vector<std::string> readNames = NamesOf(library.Icons);
  std::multiset<std::string> read(readNames.begin(), readNames.end());
  EXPECT_EQ(read, std::multiset<std::string>(expected.begin(), expected.end()));
}

TEST(Icl32Writer, MoreImagesThanIdsCanNumberAreRefusedAndNothingIsWritten) {
  TIconLibrary library;
  for (int count : {kMaxIcl32Images, 1}) {
    auto icon = std::make_unique<TAdvancedIcon>();
    for (int i = 0; i < count; ++i) {
      auto image = std::make_unique<TSubIcon>();
      image->SetData(std::vector<uint8_t>{1, 2});
      icon->Images().Add(std::move(image));
    }
    library.Icons.AddIcon("", std::move(icon));
  }
  test::TempDir dir;
  EXPECT_THROW(library.SaveAs32Bit(dir.File("many.icl")), EICLReadError);
  EXPECT_FALSE(std::filesystem::exists(dir.File("many.icl")));
}

TEST(IconLibraryLoad, GroupsWithoutImagesGiveEmptyIconsNotAScan) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  const std::vector<uint8_t> group = {0, 0, 1, 0, 1,    0, 32, 32, 16, 0,
                                      1, 0, 4, 0, 0xE8, 2, 0,  0,  99, 0};
  module.AddResource(std::make_unique<TResourceDetails>(&module, 1033, "LOST", "14", group));
  // A scan would find this image among the padding.
  std::vector<uint8_t> padding = test::DibImageBytes(32, 4);
  padding.resize(2000);
  module.AddResource(std::make_unique<TResourceDetails>(&module, 1033, "1", "10", padding));
  test::TempDir dir;
  module.SaveToFile(dir.File("lost.dll"));
  TIconLibrary library;
  library.LoadFromFile(dir.File("lost.dll"));
  ASSERT_EQ(library.Count(), 1);
  EXPECT_EQ(library.Icons.Names(0), "LOST");
  EXPECT_EQ(library.Icon(0)->Images().Count(), 0);
}

// Zeros around DIB images of 48, 32 and 16 pixels: what a raw scan finds as one icon.
std::vector<uint8_t> ScannableBytes() {
  std::vector<uint8_t> bytes(64, 0);
  for (int width : {48, 32, 16}) {
    std::vector<uint8_t> image = test::DibImageBytes(width, 4);
    bytes.insert(bytes.end(), image.begin(), image.end());
  }
  bytes.resize(bytes.size() + 600, 0);
  return bytes;
}

TEST(IconLibraryLoad, FilesThatAreNoModulesAreScanned) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("blob.bin"), ScannableBytes());
  TIconLibrary library;
  EXPECT_FALSE(library.LoadFromFile(dir.File("blob.bin")));
  EXPECT_FALSE(library.IsModule);
  EXPECT_EQ(library.ModuleIconCount, -1);
  ASSERT_EQ(library.Count(), 1);
  EXPECT_EQ(library.Icons.Names(0), "Icon 1");
  EXPECT_EQ(library.Icon(0)->Images().Count(), 3);
  EXPECT_THROW(library.LoadFromFile(dir.File("missing.bin")), Exception);
}

TEST(IconLibraryLoad, ModuleWithoutGroupsIsScannedOnlyWhenAppending) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  module.AddResource(
      std::make_unique<TResourceDetails>(&module, 1033, "1", "10", ScannableBytes()));
  test::TempDir dir;
  module.SaveToFile(dir.File("plain.dll"));
  TIconLibrary library;
  EXPECT_FALSE(library.LoadFromFile(dir.File("plain.dll")));
  EXPECT_TRUE(library.IsModule);
  EXPECT_EQ(library.ModuleIconCount, 0);
  EXPECT_EQ(library.Count(), 0);
  library.Icons.AddIcon("first", DibIcon({16}));
  EXPECT_FALSE(library.AppendFromFile(dir.File("plain.dll")));
  ASSERT_EQ(library.Count(), 2);
  EXPECT_EQ(library.Icons.Names(1), "Icon 2");
  EXPECT_EQ(library.Icon(1)->Images().Count(), 3);
}

TEST(IconLibraryLoad, AppendKeepsExistingIconsInFront) {
  test::TempDir dir;
  TIconLibrary first;
  first.Icons.AddIcon("one", DibIcon({16}));
  first.Icons.AddIcon("two", DibIcon({32}));
  first.SaveAs32Bit(dir.File("a.icl"));
  first.SaveAs16Bit(dir.File("b.icl"));
  TIconLibrary library;
  library.Icons.AddIcon("kept", DibIcon({48}));
  EXPECT_TRUE(library.AppendFromFile(dir.File("a.icl")));
  EXPECT_TRUE(library.AppendFromFile(dir.File("b.icl")));
  EXPECT_EQ(NamesOf(library.Icons), (std::vector<std::string>{"kept", "one", "two", "one", "two"}));
  EXPECT_EQ(FindIconInLibrary(dir.File("b.icl"), "two"), 1);
  EXPECT_EQ(FindIconInLibrary(dir.File("a.icl"), "Two"), -1);
  std::optional<TIconHandle> handle = ExtractIconFromLibrary(dir.File("a.icl"), 1, 32, 8);
  ASSERT_TRUE(handle.has_value());
  EXPECT_EQ(handle->color.Width(), 32);
  EXPECT_FALSE(ExtractIconFromLibrary(dir.File("a.icl"), 2, 32, 8).has_value());
}

// ---- Real modules ----

// The icons of the first modules that have some, renamed so that every name is unique.
TIconLibrary IconsOfModules(const std::vector<std::string>& modules, size_t wanted) {
  TIconLibrary library;
  size_t used = 0;
  for (const std::string& path : modules) {
    bool is64Bit = false;
    if (used == wanted || CountModuleIcons(path, is64Bit) <= 0) continue;
    int before = library.Count();
    library.AppendFromFile(path);
    // Cursors read back after the icons: the test of cursor groups covers them.
    for (int i = library.Count() - 1; i >= before; --i)
      if (library.Icon(i)->Images().Count() == 0 || IsCursorIcon(*library.Icon(i)))
        library.Icons.Delete(i);
    for (int i = before; i < library.Count(); ++i)
      library.Icons.SetName(i, "m" + std::to_string(used) + "_" + library.Icons.Names(i));
    ++used;
  }
  return library;
}

std::vector<std::string> RealModules() {
  std::vector<std::string> modules = test::NsisStubs();
  for (const std::string& dll : test::WineDlls()) modules.push_back(dll);
  return modules;
}

TEST(IconLibraryRealModules, CensusAgreesWithIcoutilsAndPE32PlusGivesIcons) {
  if (!test::HaveWrestool() || test::WineDlls(1).empty()) GTEST_SKIP() << "needs wine64, icoutils";
  int checked = 0;
  for (const std::string& path : test::WineDlls(100)) {
    std::vector<std::string> triples = test::WrestoolTriples(path);
    auto count = [&](const char* type) {
      return int(std::count_if(triples.begin(), triples.end(),
                               [&](const std::string& t) { return t.starts_with(type); }));
    };
    int groups = count("14/"), cursorGroups = count("12/");
    bool is64Bit = false;
    int census = CountModuleIcons(path, is64Bit);
    // A module without any resource directory has no census at all.
    ASSERT_EQ(census < 0 ? 0 : census, groups) << path;
    EXPECT_TRUE(is64Bit);
    EXPECT_EQ(ModuleHasIcons(path), groups > 0);
    if (groups == 0 || checked >= 5) continue;
    TIconLibrary library;
    library.LoadFromFile(path);
    EXPECT_EQ(library.Count(), groups + cursorGroups) << path;
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// The hot spots of every image of a cursor group, as wrestool writes the group out as a cursor
// file.
std::vector<uint32_t> WrestoolHotSpots(const std::string& path, const std::string& name) {
  std::string cur =
      test::RunCommand("wrestool -x -t 12 -n '" + name + "' '" + path + "' 2>/dev/null");
  std::vector<uint32_t> spots;
  if (cur.size() < 6) return spots;
  const auto* bytes = reinterpret_cast<const uint8_t*>(cur.data());
  for (size_t i = 0, n = ReadU16LE(bytes + 4); i < n && 6 + 16 * (i + 1) <= cur.size(); ++i)
    spots.push_back(ReadU32LE(bytes + 6 + 16 * i + 4));
  return spots;
}

std::vector<uint32_t> HotSpotsOf(const TAdvancedIcon& icon) {
  std::vector<uint32_t> spots;
  for (const auto& image : icon.Images()) spots.push_back(image->HotSpot());
  return spots;
}

TEST(IconLibraryRealModules, CursorGroupsFollowTheIconsWithTheirHotSpots) {
  const std::string wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
  if (!test::HaveWrestool() || !std::filesystem::exists(wine + "user32.dll"))
    GTEST_SKIP() << "needs wine64, icoutils";
  std::map<std::string, int> cursorGroups;
  for (const std::string& path : test::WineDlls()) {
    std::vector<std::string> names, iconGroups;
    for (const std::string& triple : test::WrestoolTriples(path)) {
      if (triple.starts_with("12/")) names.push_back(triple.substr(3, triple.rfind('/') - 3));
      if (triple.starts_with("14/")) iconGroups.push_back(triple);
    }
    if (names.empty()) continue;
    cursorGroups[std::filesystem::path(path).filename().string()] = int(names.size());
    TIconLibrary library;
    library.LoadFromFile(path);
    EXPECT_EQ(library.ModuleIconCount, int(iconGroups.size())) << path;
    ASSERT_EQ(library.Count(), int(iconGroups.size() + names.size())) << path;
    for (size_t k = 0; k < names.size(); ++k) {
      int item = int(iconGroups.size() + k);
      EXPECT_EQ(library.Icons.Names(item), names[k]) << path;
      EXPECT_NE(dynamic_cast<TAdvancedCursor*>(library.Icon(item)), nullptr);
      EXPECT_EQ(HotSpotsOf(*library.Icon(item)), WrestoolHotSpots(path, names[k]))
          << path << " " << names[k];
    }
  }
  EXPECT_EQ(cursorGroups["user32.dll"], 28);
  EXPECT_EQ(cursorGroups["comctl32.dll"], 4);
  EXPECT_EQ(cursorGroups["ole32.dll"], 4);
  ASSERT_EQ(cursorGroups["riched20.dll"], 1);

  // A module of cursors alone is not scanned; a 32-bit library keeps them as cursor groups.
  TIconLibrary riched;
  riched.LoadFromFile(wine + "riched20.dll");
  ASSERT_EQ(NamesOf(riched.Icons), (std::vector<std::string>{"107"}));
  const std::vector<uint32_t> spots = {27, 20, 13, 27, 20, 13};  // two depths of each size
  EXPECT_EQ(HotSpotsOf(*riched.Icon(0)), spots);
  riched.Icons.AddIcon("plain", DibIcon({16}));
  test::TempDir dir;
  riched.SaveAs32Bit(dir.File("r.icl"));
  std::vector<std::string> triples = test::WrestoolTriples(dir.File("r.icl"));
  EXPECT_EQ(std::count(triples.begin(), triples.end(), "12/107/1033"), 1);
  EXPECT_EQ(std::count(triples.begin(), triples.end(), "1/3/1033"), 1);
  TIconLibrary back;
  back.LoadFromFile(dir.File("r.icl"));
  ASSERT_EQ(NamesOf(back.Icons), (std::vector<std::string>{"plain", "107"}));
  EXPECT_EQ(HotSpotsOf(*back.Icon(1)), spots);
  EXPECT_EQ(back.Icon(1)->Images()[2]->Data(), riched.Icon(0)->Images()[2]->Data());
}

TEST(IconLibraryRealModules, WrittenLibraryReadsBackInIcoutilsPefileAndHere) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/bug785447.ico");
  if (!test::HaveWrestool() || RealModules().empty())
    GTEST_SKIP() << "needs wine64, nsis, icoutils";
  TIconLibrary library = IconsOfModules(RealModules(), 6);
  if (library.Count() < 3) GTEST_SKIP() << "too few module icons (install wine64)";
  // A 256-pixel PNG image, whose group entry is taken from the image.
  auto packed = std::make_unique<TAdvancedIcon>();
  packed->LoadFromFile(test::CorpusPath("ico/bug785447.ico"));
  library.Icons.AddIcon("packed", std::move(packed));
  test::TempDir dir;
  std::string path = dir.File("real.icl");
  ASSERT_TRUE(library.SaveAs32Bit(path));

  std::vector<std::string> groups, images;
  for (const std::string& triple : test::WrestoolTriples(path)) {
    if (triple.starts_with("14/")) groups.push_back(triple);
    if (triple.starts_with("3/")) images.push_back(triple);
  }
  std::vector<std::string> expectedGroups;
  size_t imageCount = 0;
  for (int i = 0; i < library.Count(); ++i) {
    if (library.Icon(i)->Images().Count() == 0) continue;
    imageCount += size_t(library.Icon(i)->Images().Count());
    expectedGroups.push_back(test::Triple("14", library.Icons.Names(i), "1033"));
  }
  EXPECT_EQ(groups, expectedGroups);
  ASSERT_EQ(images.size(), imageCount);
  for (size_t j = 0; j < images.size(); ++j)
    EXPECT_EQ(images[j], "3/" + std::to_string(j + 1) + "/1033");

  // pefile's heuristics about a missing entry point (resource-only images have none) and about
  // files dominated by one byte value (image data) are left out; any other warning fails.
  std::string pefile = test::RunCommand(
      "/usr/bin/python3 -c \"import pefile,sys; p=pefile.PE(sys.argv[1]); "
      "w=[x for x in p.get_warnings() if 'AddressOfEntryPoint' not in x and "
      "not x.startswith('Byte 0x')]; "
      "print(w, p.OPTIONAL_HEADER.CheckSum == p.generate_checksum())\" '" +
      path + "' 2>&1");
  if (pefile.find("No module named") == std::string::npos) {
    EXPECT_EQ(pefile, "[] True\n");
  }

  TIconLibrary back;
  back.LoadFromFile(path);
  ASSERT_EQ(NamesOf(back.Icons), NamesOf(library.Icons));
  for (int i = 0; i < back.Count(); ++i) {
    const TSubIconList& a = library.Icon(i)->Images();
    const TSubIconList& b = back.Icon(i)->Images();
    ASSERT_EQ(a.Count(), b.Count()) << library.Icons.Names(i);
    for (int k = 0; k < a.Count(); ++k) {
      EXPECT_EQ(a[k]->Data(), b[k]->Data());
      EXPECT_EQ(a[k]->Entry(), b[k]->Entry()) << library.Icons.Names(i) << " " << k;
    }
  }
}

}  // namespace
}  // namespace varnel

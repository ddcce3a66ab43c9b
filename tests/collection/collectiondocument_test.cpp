// The collection document: every item keeps the source it came from through every edit, damaged
// images are dropped at the door, files written before keep their bytes, hot spots survive, and
// saves report what they did.

#include "collection/collection.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>

#include "../resources/iconfixtures.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/packedstream.h"
#include "collection/fileimport.h"
#include "icons/icondrawing.h"
#include "resources/pefile.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

using test::IconOfSizes;

// --- Collection files built byte by byte ----------------------------------------------------

// The DIB of a 16 x 16 32-bit image with its mask; the header fields may be damaged afterwards.
std::vector<uint8_t> DibImage(int32_t width = 16, uint16_t bits = 32) {
  MemoryStream dib;
  dib.WriteU32(40);
  dib.WriteI32(width);
  dib.WriteI32(32);
  dib.WriteU16(1);
  dib.WriteU16(bits);
  for (int i = 0; i < 6; ++i) dib.WriteU32(0);
  std::vector<uint8_t> pixels(16 * 16 * 4 + 16 * 4, 0x40);
  dib.WriteBytes(pixels);
  return dib.TakeBytes();
}

void WriteImageRecord(Stream& stream, const std::vector<uint8_t>& data) {
  stream.WriteU8(12);
  uint8_t entry[8] = {16, 16, 0, 0, 1, 0, 32, 0};
  stream.WriteBuffer(entry, sizeof entry);
  stream.WriteU32(uint32_t(data.size()));
  stream.WriteBytes(data);
}

void WriteItem(Stream& stream, const std::string& name,
               const std::vector<std::vector<uint8_t>>& images, int32_t source = -1,
               int32_t position = -1) {
  WritePackedString(stream, name);
  stream.WriteU32(uint32_t(images.size()));
  for (const auto& image : images) WriteImageRecord(stream, image);
  stream.WriteI32(source);
  stream.WriteI32(position);
}

void WriteHeader(Stream& stream, uint32_t items) {
  stream.WriteBuffer("ICC0", 4);
  stream.WriteU32(1);
  stream.WriteBuffer("ICON", 4);
  stream.WriteU32(items);
}

void WriteSources(Stream& stream, const std::vector<std::string>& sources) {
  stream.WriteBuffer("SRSF", 4);
  WritePackedInteger(stream, int32_t(sources.size()));
  for (const std::string& source : sources) WritePackedString(stream, source);
}

class CollectionDocumentTest : public ::testing::Test {
 protected:
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  test::TempDir dir;

  std::vector<uint8_t> Written() {
    MemoryStream stream;
    lib.Document.Write(stream);
    return stream.TakeBytes();
  }
};

TEST_F(CollectionDocumentTest, AFileInTheOldLayoutReadsAndWritesBackByteForByte) {
  MemoryStream file;
  WriteHeader(file, 3);
  WriteItem(file, "first", {DibImage()}, 1, 4);
  WriteItem(file, "no source", {DibImage(), DibImage()});
  WriteItem(file, "stale source", {}, 7, 0);  // an index past the table stays as it is
  WriteSources(file, {"/unused.icl", "/a/b.dll"});
  std::vector<uint8_t> bytes = file.TakeBytes();

  SpanStream stream(bytes);
  lib.ReadCollection(stream, "old.icc");
  ASSERT_EQ(lib.Count(), 3);
  EXPECT_EQ(lib.SourceOf(0), "/a/b.dll");
  EXPECT_EQ(lib.Items().Source(0).position, 4);
  EXPECT_EQ(lib.SourceOf(2), "");
  EXPECT_EQ(Written(), bytes);
}

TEST_F(CollectionDocumentTest, NamesThatAreNoUtf8AreReadAsWindows1252) {
  MemoryStream file;
  WriteHeader(file, 1);
  WriteItem(file, "Caf\xE9", {DibImage()});
  WriteSources(file, {});
  SpanStream stream(file.Bytes());
  lib.ReadCollection(stream, "ansi.icc");
  EXPECT_EQ(lib.Items().Names(0), "Caf\xC3\xA9");
}

TEST_F(CollectionDocumentTest, DamagedImagesAreDroppedAndEverythingElseWorks) {
  MemoryStream file;
  WriteHeader(file, 6);
  WriteItem(file, "good", {DibImage()}, 0, 0);
  WriteItem(file, "wide", {DibImage(0x7FFFFFFF)});
  WriteItem(file, "negative", {DibImage(-16)});
  WriteItem(file, "zero", {DibImage(0)});
  WriteItem(file, "deep", {DibImage(16, 77)});
  WriteItem(file, "mixed", {DibImage(0x7FFFFFFF), DibImage()}, 0, 1);
  WriteSources(file, {"/x.ico"});
  std::string path = dir.File("damaged.icc");
  WriteFileAtomic(path, file.Bytes());

  lib.ReadCollectionFile(path);
  ASSERT_EQ(lib.Count(), 6);
  EXPECT_EQ(lib.Items().Icons(0)->Images().Count(), 1);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(lib.Items().Icons(i)->Images().Count(), 0);
  EXPECT_EQ(lib.Items().Icons(5)->Images().Count(), 1);
  ASSERT_EQ(collection.ui.messages.size(), 1u);
  EXPECT_EQ(collection.ui.messages[0].text, "5 damaged images could not be read and were left out");

  TBitmap cell(48, 48, PixelFormat::Bits24);
  for (int i = 0; i < lib.Count(); ++i)
    for (const auto& image : lib.Items().Icons(i)->Images())
      DrawFitted(cell, 0, 0, true, true, clWhite, *image, 48, 48);
  for (int mode = 1; mode <= 7; ++mode) lib.SortIcons(TSortMode(mode));
  EXPECT_EQ(lib.DeleteDuplicates(), 4);  // the empty icons equal each other, as do good and mixed
  lib.WriteCollectionFile(path);
  lib.ReadCollectionFile(path);
  EXPECT_EQ(lib.Count(), 2);
  EXPECT_FALSE(lib.Busy());

  // An image cut by the end of the file is the read error; the items before it stay.
  std::vector<uint8_t> bytes = file.TakeBytes();
  WriteFileAtomic(path, std::span(bytes).first(bytes.size() - 600));
  EXPECT_THROW(lib.ReadCollectionFile(path), EReadError);
  EXPECT_EQ(lib.Count(), 5);
  EXPECT_FALSE(lib.Busy());
}

TEST_F(CollectionDocumentTest, AnImageCountLargerThanTheFileEndsAtItsEnd) {
  MemoryStream file;
  WriteHeader(file, 1);
  WritePackedString(file, "many");
  file.WriteU32(0xFFFFFFFF);
  WriteImageRecord(file, DibImage());
  file.SetPosition(0);
  EXPECT_THROW(lib.ReadCollection(file, "many.icc"), EReadError);
  EXPECT_EQ(lib.Count(), 0);
}

// --- Sources through every edit -------------------------------------------------------------

class SourceTrackingTest : public CollectionDocumentTest {
 protected:
  // What every icon object is expected to name as its source.
  std::map<const TAdvancedIcon*, TItemSource> expected;

  void LoadThreeFiles() {
    int sizes[] = {3, 2, 4};
    for (int file = 0; file < 3; ++file) {
      int first = lib.Count();
      for (int k = 0; k < sizes[file]; ++k)
        lib.AppendItem("f" + std::to_string(file) + "i" + std::to_string(k),
                       IconOfSizes({16, 16 + 16 * ((file + k) % 3)}));
      lib.RecordSources("/files/" + std::to_string(file) + ".ico", first);
    }
    Remember();
  }
  void Remember() {
    for (int i = 0; i < lib.Count(); ++i) expected[lib.Items().Icons(i)] = lib.Items().Source(i);
  }
  // Items the edit made (copies) come without a source; all others keep theirs.
  void CheckSources(const char* after) {
    for (int i = 0; i < lib.Count(); ++i) {
      auto found = expected.find(lib.Items().Icons(i));
      TItemSource want = found == expected.end() ? TItemSource{} : found->second;
      EXPECT_EQ(lib.Items().Source(i), want) << "item " << i << " after " << after;
    }
    Remember();
  }
  void Select(std::initializer_list<int> indexes) {
    for (int i = 0; i < lib.Count(); ++i) lib.SetSelected(i, false);
    for (int i : indexes) lib.SetSelected(i, true);
  }
};

TEST_F(SourceTrackingTest, EveryEditKeepsEachItemWithItsSource) {
  collection.settings.ConfirmDIFL = false;
  LoadThreeFiles();
  EXPECT_EQ(lib.SourceOf(3), "/files/1.ico");
  EXPECT_EQ(lib.Items().Source(4).position, 1);

  Select({8});  // the last item: pasting with the cursor there appends
  collection.grid.SetCurrent(8);
  lib.CopySelection();
  lib.PasteFromClipboard();
  CheckSources("paste at the end");
  collection.grid.SetCurrent(1);
  lib.PasteFromClipboard();
  CheckSources("paste inside");

  Select({lib.Count() - 1});
  collection.grid.SetCurrent(lib.Count() - 1);
  lib.DuplicateIcon();
  CheckSources("duplicate at the end");

  Select({0, 4});
  TItemSource splitSource = lib.Items().Source(4);
  lib.SplitIcons();
  EXPECT_EQ(lib.Items().Source(6), splitSource);  // the part split off item 4 (now at 5)
  expected[lib.Items().Icons(1)] = lib.Items().Source(0);
  expected[lib.Items().Icons(6)] = splitSource;
  CheckSources("split");

  Select({2, 3, 7});
  TItemSource receiver = lib.Items().Source(2);
  lib.CombineIcons();
  expected[lib.Items().Icons(2)] = {receiver.index, -1};
  CheckSources("combine");

  for (int mode = 1; mode <= 7; ++mode) {
    lib.SortIcons(TSortMode(mode));
    CheckSources("sort");
  }
  std::vector<int> order;
  for (int i = lib.Count() - 1; i >= 0; --i) order.push_back(i);
  std::swap(order[0], order[2]);
  lib.ReorderItems(order);
  CheckSources("drag reorder");

  std::string file = dir.File("three.icc");
  lib.WriteCollectionFile(file);
  lib.MergeCollectionFile(file);
  for (int i = lib.Count() / 2; i < lib.Count(); ++i)
    EXPECT_EQ(lib.SourceOf(i), lib.SourceOf(i - lib.Count() / 2)) << "merged item " << i;
  Remember();

  lib.DeleteDuplicates();
  CheckSources("delete duplicates");
  Select({0, 1});
  lib.EraseSelection();
  CheckSources("erase");

  int before = lib.Count();
  lib.AppendItem("new", IconOfSizes({24}));
  lib.RecordSources("/files/new.ico", before);
  EXPECT_EQ(lib.SourceOf(before), "/files/new.ico");
  EXPECT_EQ(lib.Items().Source(before).position, 0);
  for (int i = 0; i < before; ++i) EXPECT_NE(lib.SourceOf(i), "/files/new.ico");
}

// --- Groups of one name in two languages ---------------------------------------------------

TEST_F(CollectionDocumentTest, GroupsOfOneNameInTwoLanguagesStayTwoIcons) {
  TPEResourceModule module;
  module.InitializeResourceOnlyImage(".rsrc");
  auto add = [&](const std::string& type, const std::string& name, uint32_t language,
                 std::vector<uint8_t> data) {
    module.AddResource(
        std::make_unique<TResourceDetails>(&module, language, name, type, std::move(data)));
  };
  for (uint32_t language : {1031u, 1033u}) {  // German with 3 images, English with 2
    int count = language == 1031 ? 3 : 2;
    std::vector<uint8_t> group(6 + 14 * size_t(count), 0);
    WriteU16LE(&group[2], 1);
    WriteU16LE(&group[4], uint16_t(count));
    for (int i = 0; i < count; ++i) {
      WriteU16LE(&group[6 + 14 * size_t(i) + 12], uint16_t(i + 1));
      add("3", std::to_string(i + 1), language, test::DibImageBytes(16 + 8 * i, 4, uint8_t(count)));
    }
    add("14", "100", language, group);
  }
  std::string dll = dir.File("two.dll");
  module.SaveToFile(dll);

  LoadFile(lib, dll);
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.Items().Icons(0)->Images().Count(), 3);
  EXPECT_EQ(lib.Items().Icons(1)->Images().Count(), 2);
  EXPECT_EQ(lib.DeleteDuplicates(), 0);
  std::string icc = dir.File("two.icc");
  lib.WriteCollectionFile(icc);
  lib.ReadCollectionFile(icc);
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_FALSE(lib.Items().Icons(0)->SameIcon(*lib.Items().Icons(1)));
  EXPECT_EQ(lib.Items().Source(1).position, 1);
}

// --- Hot spots --------------------------------------------------------------------------------

std::unique_ptr<TAdvancedIcon> Cursor(uint32_t hotSpot) {
  auto cursor = IconOfSizes({32, 48});
  for (auto& image : cursor->Images()) image->SetHotSpot(hotSpot);
  return cursor;
}

// The name and inflated data of the first member of a ZIP file.
std::pair<std::string, std::vector<uint8_t>> FirstZipMember(const std::vector<uint8_t>& zip) {
  SpanStream stream(zip);
  stream.SetPosition(18);
  uint32_t packed = stream.ReadU32(), size = stream.ReadU32();
  uint16_t nameLength = stream.ReadU16(), extra = stream.ReadU16();
  std::string name(nameLength, '\0');
  stream.ReadBuffer(name.data(), nameLength);
  stream.SetPosition(stream.Position() + extra);
  std::vector<uint8_t> data = stream.ReadBytes(packed), out(size);
  z_stream z{};
  inflateInit2(&z, -MAX_WBITS);
  z.next_in = data.data(), z.avail_in = uInt(data.size());
  z.next_out = out.data(), z.avail_out = uInt(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  inflateEnd(&z);
  return {name, out};
}

TEST_F(CollectionDocumentTest, CursorHotSpotsSurviveCollectionFilesAndZips) {
  const uint32_t hotSpot = 3 | (5u << 16);
  lib.AppendItem("arrow", Cursor(hotSpot));
  lib.AppendItem("plain", IconOfSizes({16}));
  std::string icc = dir.File("c.icc");
  lib.WriteCollectionFile(icc);
  lib.ReadCollectionFile(icc);
  for (const auto& image : lib.Items().Icons(0)->Images()) EXPECT_EQ(image->HotSpot(), hotSpot);
  EXPECT_EQ(lib.Items().Icons(1)->Images()[0]->HotSpot(), 0u);

  std::string zip = dir.File("c.zip");
  lib.SaveCollectionAsZip(zip);
  auto [name, data] = FirstZipMember(ReadWholeFile(zip));
  EXPECT_EQ(name, "arrow.cur");
  TAdvancedIcon read;
  SpanStream stream(data);
  ASSERT_TRUE(read.LoadCursorFromStream(stream));
  EXPECT_EQ(read.Images()[1]->HotSpot(), hotSpot);

  // Without hot spots the file ends with the source table, as files always did.
  lib.Document.Clear();
  lib.AppendItem("plain", IconOfSizes({16}));
  std::vector<uint8_t> bytes = Written();
  EXPECT_EQ(std::string(bytes.end() - 5, bytes.end() - 1), "SRSF");
}

// --- Saves ------------------------------------------------------------------------------------

TEST_F(CollectionDocumentTest, ZipMemberNamesAreUniqueAndAnEmptyZipIsNoSave) {
  for (const char* name : {"a.1", "a.2", "x", "X.ico", "caf\xC3\xA9"})
    lib.AppendItem(name, IconOfSizes({16}));
  std::string zip = dir.File("n.zip");
  lib.SaveCollectionAsZip(zip);
  std::vector<uint8_t> bytes = ReadWholeFile(zip);
  std::string text(bytes.begin(), bytes.end());
  for (const char* member : {"a.ico", "a (2).ico", "x.ico", "X (2).ico", "caf\xC3\xA9.ico"})
    EXPECT_NE(text.find(member), std::string::npos) << member;

  lib.Document.Clear();
  lib.AppendItem("empty", std::make_unique<TAdvancedIcon>());
  lib.SetModified(true);
  collection.ui.fileAnswers.push_back(TFileDialogAnswer{{dir.File("none.zip")}, 5});
  EXPECT_THROW(lib.Save(), Exception);
  EXPECT_TRUE(lib.GetModified());
  EXPECT_LT(FileSizeOf(dir.File("none.zip")), 0);
}

TEST_F(CollectionDocumentTest, TheFirstSaveHonoursTheSixteenBitChoice) {
  lib.AppendItem("one", IconOfSizes({32}));
  lib.SetModified(true);
  collection.ui.fileAnswers.push_back(TFileDialogAnswer{{dir.File("lib")}, 3});
  EXPECT_TRUE(lib.Save());
  std::vector<uint8_t> bytes = ReadWholeFile(dir.File("lib.dll"));
  ASSERT_GT(bytes.size(), 64u);
  uint32_t header = ReadU32LE(&bytes[60]);
  ASSERT_LT(header + 2, bytes.size());
  EXPECT_EQ(std::string(bytes.begin() + header, bytes.begin() + header + 2), "NE");
  EXPECT_FALSE(lib.GetModified());
}

TEST_F(CollectionDocumentTest, DecliningTheBackupQuestionIsNoSave) {
  std::string module = dir.File("app.exe");
  WriteFileAtomic(module, std::vector<uint8_t>(64, 0));
  lib.AppendItem("one", IconOfSizes({32}));
  lib.FileName = module;
  lib.SetModified(true);
  collection.ui.confirmAnswers.push_back({false, false});
  EXPECT_FALSE(lib.Save());
  EXPECT_TRUE(lib.GetModified());

  // So the question before replacing the collection does not go on after a declined save.
  collection.ui.messageAnswers.push_back(TModalResult::mrYes);
  collection.ui.confirmAnswers.push_back({false, false});
  EXPECT_FALSE(lib.QuerySaveChanges());
}

}  // namespace
}  // namespace varnel

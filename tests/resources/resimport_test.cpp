#include "resources/resimport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "iconfixtures.h"
#include "icons/dibheader.h"
#include "resources/bitmapresource.h"
#include "resources/iconcursorresource.h"
#include "resources/resfile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

// Builds 32-bit resource files: the empty entry, then one entry per Add.
class ResFileBuilder {
 public:
  ResFileBuilder() { Add("0", "0", {}, 0, 0); }

  // Numeric texts become ordinals, others zero-terminated UTF-16 (ASCII here).
  ResFileBuilder& Add(const std::string& type, const std::string& name,
                      const std::vector<uint8_t>& data, uint16_t language = 1033,
                      uint16_t memoryFlags = 0x1030) {
    std::vector<uint8_t> header(8, 0);
    AppendNameOrId(header, type);
    AppendNameOrId(header, name);
    header.resize((header.size() + 3) & ~size_t(3), 0);
    size_t fields = header.size();
    header.resize(fields + 16, 0);
    WriteU16LE(&header[fields + 4], memoryFlags);
    WriteU16LE(&header[fields + 6], language);
    WriteU32LE(&header[0], uint32_t(data.size()));
    WriteU32LE(&header[4], uint32_t(header.size()));
    bytes_.insert(bytes_.end(), header.begin(), header.end());
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    bytes_.resize((bytes_.size() + 3) & ~size_t(3), 0);
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  static void AppendNameOrId(std::vector<uint8_t>& out, const std::string& text) {
    if (ResourceNameToInt(text) >= 0) {
      out.insert(out.end(), {0xFF, 0xFF, uint8_t(std::stoi(text)), uint8_t(std::stoi(text) >> 8)});
      return;
    }
    for (char c : text) out.insert(out.end(), {uint8_t(c), 0});
    out.insert(out.end(), {0, 0});
  }
  std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> IconImage() {
  auto image = CreateFreeResource<TIconResourceDetails>(0, "1");
  return {image->Bytes().begin(), image->Bytes().end()};
}

std::vector<uint8_t> BitmapDib(int width) {
  auto bitmap = CreateFreeResource<TBitmapResourceDetails>(0, "1");
  std::vector<uint8_t> dib(bitmap->Bytes().begin(), bitmap->Bytes().end());
  WriteU32LE(&dib[4], uint32_t(width));
  dib.resize(40 + 64 + size_t((width * 4 + 31) / 32 * 4) * 32, 0);
  return dib;
}

std::vector<std::string> Summary(const TIconList& list) {
  std::vector<std::string> summary;
  for (int i = 0; i < list.Count(); ++i)
    summary.push_back(list.Names(i) + ":" + std::to_string(list.Icons(i)->Images().Count()));
  return summary;
}

TEST(ResFileReading, RecordsWithHeaderValues) {
  ResFileBuilder res;
  res.Add("3", "1", IconImage()).Add("MYTYPE", "Name", {1, 2, 3}, 1031);
  TResModule module;
  module.LoadFromBytes(res.Bytes());
  ASSERT_EQ(module.ResourceCount(), 2) << "the opening empty entry is skipped";
  EXPECT_NE(dynamic_cast<TIconResourceDetails*>(module.ResourceDetails(0)), nullptr);
  TResourceDetails* custom = module.ResourceDetails(1);
  EXPECT_EQ(custom->ResourceType(), "MYTYPE");
  EXPECT_EQ(custom->ResourceName(), "Name");
  EXPECT_EQ(custom->ResourceLanguage(), 1031u);
  EXPECT_EQ(custom->MemoryFlags, 0x1030);
  EXPECT_EQ(custom->Bytes().size(), 3u);

  std::vector<uint8_t> cut = res.Bytes();
  cut.resize(cut.size() - 3);
  TResModule partial;
  partial.LoadFromBytes(cut);
  EXPECT_EQ(partial.ResourceCount(), 2);
  EXPECT_EQ(partial.ResourceDetails(1)->Bytes().size(), 1u) << "data cut to what is there";
  WriteU32LE(&cut[36], 4);  // a header size that cannot hold its fields
  TResModule damaged;
  damaged.LoadFromBytes(cut);
  EXPECT_EQ(damaged.ResourceCount(), 0);
}

TEST(ResFileImport, ImagesGoToTheGroupThatFollowsThem) {
  ResFileBuilder res;
  for (const char* id : {"1", "2", "3"}) res.Add("3", id, IconImage());
  res.Add("14", "MAINICON", {0, 0, 1, 0, 0, 0});
  res.Add("3", "4", IconImage()).Add("14", "101", {});
  res.Add("2", "PICTURE", BitmapDib(20));
  res.Add("3", "5", IconImage()).Add("3", "6", IconImage());
  TIconList list;
  list.AddIcon("existing", std::make_unique<TAdvancedIcon>());
  ImportResourceBytes(res.Bytes(), list);
  EXPECT_EQ(Summary(list), (std::vector<std::string>{"existing:0", "MAINICON:3", "101:1",
                                                     "PICTURE:1", "Icon 5:2"}));
  const TSubIcon& picture = *list.Icons(3)->Images()[0];
  EXPECT_EQ(picture.ImageWidth(), 20);
  EXPECT_EQ(picture.ImageHeight(), 32);
  EXPECT_EQ(picture.BitsPerPixel(), 4);
  EXPECT_EQ(picture.Data().back(), 0) << "opaque mask";
}

// Group data: the 6-byte header and one 14-byte entry per id (only the id is filled in).
std::vector<uint8_t> GroupOf(std::initializer_list<uint16_t> ids, uint16_t type = 1) {
  std::vector<uint8_t> group(6 + 14 * ids.size(), 0);
  WriteU16LE(&group[2], type);
  WriteU16LE(&group[4], uint16_t(ids.size()));
  size_t at = 6 + 12;
  for (uint16_t id : ids) {
    WriteU16LE(&group[at], id);
    at += 14;
  }
  return group;
}

std::vector<std::string> Widths(const TAdvancedIcon& icon) {
  std::vector<std::string> widths;
  for (const auto& image : icon.Images()) widths.push_back(std::to_string(image->ImageWidth()));
  return widths;
}

TEST(ResFileImport, GroupsAfterAllImagesTakeTheImagesTheirEntriesName) {
  ResFileBuilder res;
  res.Add("3", "1", test::DibImageBytes(16, 4))
      .Add("3", "2", test::DibImageBytes(32, 4), 1033)
      .Add("3", "2", test::DibImageBytes(48, 4), 1031)
      .Add("3", "3", test::DibImageBytes(24, 4))
      .Add("14", "A", GroupOf({3, 1}))
      .Add("14", "B", GroupOf({2}), 1031)
      .Add("14", "B", GroupOf({2, 1}), 1033)
      .Add("3", "9", test::DibImageBytes(20, 4))
      .Add("14", "OLD", GroupOf({77}));  // names no record: the images since the last group
  TIconList list;
  ImportResourceBytes(res.Bytes(), list);
  ASSERT_EQ(Summary(list), (std::vector<std::string>{"A:2", "B:1", "B:2", "OLD:1"}));
  EXPECT_EQ(Widths(*list.Icons(0)), (std::vector<std::string>{"24", "16"}));
  EXPECT_EQ(Widths(*list.Icons(1)), (std::vector<std::string>{"48"}));
  EXPECT_EQ(Widths(*list.Icons(2)), (std::vector<std::string>{"32", "16"}));
  EXPECT_EQ(Widths(*list.Icons(3)), (std::vector<std::string>{"20"}));
}

TEST(ResFileImport, WindresFileOfTwoIconsGivesEachIconItsImages) {
  if (std::system("command -v x86_64-w64-mingw32-windres >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "needs x86_64-w64-mingw32-windres (mingw-w64)";
  test::TempDir dir;
  test::DibIcon({16, 32}, 4)->SaveToFile(dir.File("a.ico"));
  test::DibIcon({48, 24, 16}, 8)->SaveToFile(dir.File("b.ico"));
  test::WriteText(dir.File("t.rc"), "FIRST ICON \"a.ico\"\nSECOND ICON \"b.ico\"\n");
  ASSERT_EQ(std::system(("cd '" + dir.Path() +
                         "' && x86_64-w64-mingw32-windres t.rc -O res -o t.res 2>/dev/null")
                            .c_str()),
            0);
  TIconList list;
  ImportResourceFile(dir.File("t.res"), list);
  std::map<std::string, std::vector<std::string>> icons;
  for (int i = 0; i < list.Count(); ++i) icons[list.Names(i)] = Widths(*list.Icons(i));
  EXPECT_EQ(icons, (std::map<std::string, std::vector<std::string>>{
                       {"FIRST", {"16", "32"}}, {"SECOND", {"48", "24", "16"}}}));
}

TEST(ResFileImport, CursorGroupsTakeTheirCursorImagesWithHotSpots) {
  std::vector<uint8_t> cursor = {3, 0, 4, 0};
  std::vector<uint8_t> image = test::DibImageBytes(32, 1);
  cursor.insert(cursor.end(), image.begin(), image.end());
  ResFileBuilder res;
  res.Add("1", "5", cursor).Add("3", "5", test::DibImageBytes(16, 4));
  res.Add("12", "ARROW", GroupOf({5}, 2)).Add("14", "ICON", GroupOf({5}));
  TIconList list;
  ImportResourceBytes(res.Bytes(), list);
  ASSERT_EQ(Summary(list), (std::vector<std::string>{"ARROW:1", "ICON:1"}));
  EXPECT_EQ(list.Icons(0)->Images()[0]->HotSpot(), 3u + (4u << 16));
  EXPECT_EQ(Widths(*list.Icons(0)), (std::vector<std::string>{"32"}));
  EXPECT_EQ(Widths(*list.Icons(1)), (std::vector<std::string>{"16"}));
}

// The Free Pascal resource compiler writes every group before the images it names.
TEST(ResFileImport, GroupsBeforeTheirImagesGiveOneIconEach) {
  std::vector<uint8_t> cursor = {7, 0, 2, 0};
  std::vector<uint8_t> image = test::DibImageBytes(32, 1);
  cursor.insert(cursor.end(), image.begin(), image.end());
  ResFileBuilder res;
  res.Add("14", "MAINICON", GroupOf({1, 2})).Add("12", "5", GroupOf({1}, 2));
  res.Add("3", "1", test::DibImageBytes(16, 4)).Add("3", "2", test::DibImageBytes(32, 4));
  res.Add("1", "1", cursor);
  TIconList list;
  ImportResourceBytes(res.Bytes(), list);
  ASSERT_EQ(Summary(list), (std::vector<std::string>{"MAINICON:2", "5:1"}));
  EXPECT_EQ(Widths(*list.Icons(0)), (std::vector<std::string>{"16", "32"}));
  EXPECT_EQ(list.Icons(1)->Images()[0]->HotSpot(), 7u + (2u << 16));
  EXPECT_TRUE(IsCursorIcon(*list.Icons(1)));

  if (std::system("command -v fpcres >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "needs fpcres (fp-utils) for a compiler-written file";
  test::TempDir dir;
  test::DibIcon({16, 32, 48}, 8)->SaveToFile(dir.File("a.ico"));
  test::WriteText(dir.File("t.rc"), "MAINICON ICON \"a.ico\"\n");
  ASSERT_EQ(
      std::system(
          ("cd '" + dir.Path() + "' && fpcres -of res t.rc -o t.res >/dev/null 2>&1").c_str()),
      0);
  TIconList compiled;
  ImportResourceFile(dir.File("t.res"), compiled);
  EXPECT_EQ(Summary(compiled), (std::vector<std::string>{"MAINICON:3"}));
}

TEST(ResFileImport, DamagedRecordsAndTheHandWalk) {
  ResFileBuilder res;
  std::vector<uint8_t> broken(10, 0);  // not an image
  res.Add("3", "1", broken).Add("3", "2", IconImage()).Add("14", "G", {});
  TIconList list;
  ImportResourceBytes(res.Bytes(), list);
  EXPECT_EQ(Summary(list), (std::vector<std::string>{"G:1"}));

  // No icon through the container: bitmaps are then found by following the sizes.
  ResFileBuilder palette;
  palette.Add("10", "PAL", BitmapDib(16)).Add("10", "X", std::vector<uint8_t>(120, 1));
  TIconList walked;
  ImportResourceBytes(palette.Bytes(), walked);
  EXPECT_EQ(Summary(walked), (std::vector<std::string>{"PAL:1"}));

  TIconList nothing;
  ImportResourceBytes(std::vector<uint8_t>(75, 0), nothing);
  ImportResourceBytes(std::vector<uint8_t>(200, 7), nothing);
  EXPECT_EQ(nothing.Count(), 0);
}

std::vector<uint8_t> Dcr16(uint16_t bitCount, size_t bitsPresent) {
  std::vector<uint8_t> file = {0xFF, 0x02, 0x00, 'T', 'B', 'U', 'T', 'T', 'O', 'N', 0};
  file.insert(file.end(), {0x30, 0x10, 0, 0, 0, 0});
  TBitmapInfoHeader header;
  header.biWidth = 24;
  header.biHeight = 24;
  header.biBitCount = bitCount;
  header.biSizeImage = 12 * 24;
  std::vector<uint8_t> encoded(40);
  header.Encode(encoded.data());
  WriteU32LE(&file[13], uint32_t(40 + 64 + header.biSizeImage));
  file.insert(file.end(), encoded.begin(), encoded.end());
  file.resize(file.size() + 64, 0x40);
  file.resize(file.size() + bitsPresent, 0x11);
  return file;
}

TEST(Dcr16Import, FirstBitmapWithMissingBitsAsZero) {
  TIconList list;
  ImportResourceBytes(Dcr16(4, 100), list);
  ASSERT_EQ(Summary(list), (std::vector<std::string>{"TBUTTON:1"}));
  const TSubIcon& image = *list.Icons(0)->Images()[0];
  EXPECT_EQ(image.ImageWidth(), 24);
  EXPECT_EQ(image.BitsPerPixel(), 4);
  std::span<const uint8_t> bits = image.GetPixelBits();
  ASSERT_GE(bits.size(), 288u);
  EXPECT_EQ(bits[99], 0x11);
  EXPECT_EQ(bits[100], 0);
  EXPECT_EQ(bits[287], 0);
}

TEST(Dcr16Import, RefusalsAndOtherFirstResources) {
  auto message = [](const std::vector<uint8_t>& bytes) {
    TIconList list;
    try {
      ImportResourceBytes(bytes, list);
    } catch (const Exception& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(Dcr16(24, 300)), "Bad biBitCount");
  std::vector<uint8_t> bad = Dcr16(4, 300);
  WriteU32LE(&bad[17], 12);
  EXPECT_EQ(message(bad), "Bad TBITMAPINFOHEADER biSize: 12");
  bad = Dcr16(4, 300);
  WriteU16LE(&bad[17 + 12], 2);
  EXPECT_EQ(message(bad), "Bad biPlanes");
  bad = Dcr16(4, 300);
  WriteU32LE(&bad[17 + 16], 1);
  EXPECT_EQ(message(bad), "RLE8 mismatch");
  WriteU32LE(&bad[17 + 16], 2);
  EXPECT_NE(message(bad), "RLE4 mismatch");
  WriteU32LE(&bad[17 + 16], 9);
  EXPECT_EQ(message(bad), "Bad biCompression");
  bad = Dcr16(4, 300);
  bad[3] = 0;
  EXPECT_EQ(message(bad), "DCR name is unrecoverable");
  bad = Dcr16(4, 300);
  bad[1] = 3;  // the first resource is an icon
  EXPECT_EQ(message(bad), "no error");
}

}  // namespace
}  // namespace varnel

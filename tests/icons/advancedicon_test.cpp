#include "icons/advancedicon.h"

#include <gtest/gtest.h>

#include <map>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "icons/filer.h"
#include "icons/maskbits.h"
#include "icons/resourcesource.h"
#include "platform/clipboard.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TBitmap Bitmap24(int w, int h, TColor fill) {
  TBitmap bitmap(w, h, PixelFormat::Bits24);
  bitmap.Fill(fill);
  return bitmap;
}

// An icon with one 24-bit image per size.
std::unique_ptr<TAdvancedIcon> IconOfSizes(std::initializer_list<int> sizes) {
  auto icon = std::make_unique<TAdvancedIcon>();
  for (int size : sizes)
    icon->Images().AddFromBitmap(Bitmap24(size, size, RGB(9, 8, 7)), nullptr, 0);
  return icon;
}

std::vector<uint8_t> IcoBytes(const TAdvancedIcon& icon) {
  MemoryStream stream;
  icon.SaveToStream(stream);
  return stream.TakeBytes();
}

TEST(IcoFileTest, SavedDirectoryAndBlocksFollowImageOrder) {
  auto icon = IconOfSizes({16, 32, 256});
  std::vector<uint8_t> ico = IcoBytes(*icon);
  ASSERT_GE(ico.size(), 6u + 48);
  EXPECT_EQ(ReadU16LE(&ico[2]), 1);
  EXPECT_EQ(ReadU16LE(&ico[4]), 3);
  uint32_t expected = 6 + 16 * 3;
  for (int i = 0; i < 3; ++i) {
    const uint8_t* entry = &ico[6 + 16 * i];
    EXPECT_EQ(entry[0], i == 0 ? 16 : i == 1 ? 32 : 0);
    EXPECT_EQ(ReadU32LE(entry + 12), expected);
    expected += ReadU32LE(entry + 8);
  }
  EXPECT_EQ(expected, ico.size());

  TAdvancedIcon read;
  EXPECT_TRUE(read.LoadFromBytes(ico));
  EXPECT_TRUE(read.SameIcon(*icon));
}

TEST(IcoFileTest, ImpossibleOffsetsAndTinyImagesAreNotRead) {
  auto icon = IconOfSizes({16});
  std::vector<uint8_t> ico = IcoBytes(*icon);
  std::vector<uint8_t> intoDirectory = ico;
  WriteU32LE(&intoDirectory[6 + 12], 10);
  TAdvancedIcon read;
  EXPECT_FALSE(read.LoadFromBytes(intoDirectory));
  EXPECT_EQ(read.Images().Count(), 0);

  std::vector<uint8_t> tiny = ico;
  WriteU32LE(&tiny[6 + 8], 40);
  EXPECT_FALSE(read.LoadFromBytes(tiny));

  std::vector<uint8_t> truncated(ico.begin(), ico.end() - 1);
  EXPECT_FALSE(read.LoadFromBytes(truncated));
  EXPECT_EQ(read.Images().Count(), 0);
}

TEST(IcoFileTest, DamagedImageIsDroppedAndTheOthersStay) {
  auto icon = IconOfSizes({16, 32});
  std::vector<uint8_t> ico = IcoBytes(*icon);
  uint32_t firstImage = ReadU32LE(&ico[6 + 12]);
  WriteU32LE(&ico[firstImage + 4], 7000);  // width over the limit
  TAdvancedIcon read;
  EXPECT_TRUE(read.LoadFromBytes(ico));
  ASSERT_EQ(read.Images().Count(), 1);
  EXPECT_EQ(read.Images()[0]->ImageWidth(), 32);
}

TEST(IcoFileTest, PackedDibIsWrittenAsPngKeepingItsDepth) {
  auto icon = IconOfSizes({48});
  icon->Images()[0]->SetPacked(true);
  std::vector<uint8_t> ico = IcoBytes(*icon);
  uint32_t size = ReadU32LE(&ico[6 + 8]);
  uint32_t offset = ReadU32LE(&ico[6 + 12]);
  EXPECT_TRUE(HasPngSignature({&ico[offset], size}));
  EXPECT_EQ(ReadU16LE(&ico[6 + 4]), 1);
  EXPECT_EQ(ReadU16LE(&ico[6 + 6]), 24);
  EXPECT_EQ(offset + size, ico.size());

  TAdvancedIcon read;
  ASSERT_TRUE(read.LoadFromBytes(ico));
  EXPECT_TRUE(read.Images()[0]->Packed());
  EXPECT_TRUE(read.SameIcon(*icon));
}

TEST(IcoFileTest, SavingEmptyIconsFailsAndFailedSavesKeepTheOldFile) {
  test::TempDir dir;
  TAdvancedIcon empty;
  EXPECT_THROW(empty.SaveToFile(dir.File("a.ico")), Exception);
  EXPECT_THROW(empty.SaveCursorToFile(dir.File("a.cur")), Exception);
  EXPECT_EQ(FileSizeOf(dir.File("a.ico")), -1);
  auto icon = IconOfSizes({16});
  icon->SaveToFile(dir.File("a.ico"));
  TAdvancedIcon read;
  EXPECT_TRUE(read.LoadFromFile(dir.File("a.ico")));
}

TEST(CurFileTest, HotSpotTravelsInTheEntryWords) {
  auto icon = IconOfSizes({32, 16});
  for (const auto& image : icon->Images()) image->SetHotSpot(5 + 7 * 65536);
  MemoryStream stream;
  icon->SaveCursorToStream(stream);
  const auto& cur = stream.Bytes();
  EXPECT_EQ(ReadU16LE(&cur[2]), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(ReadU16LE(&cur[6 + 16 * i + 4]), 5);
    EXPECT_EQ(ReadU16LE(&cur[6 + 16 * i + 6]), 7);
  }
  stream.SetPosition(0);
  TAdvancedCursor read;
  ASSERT_TRUE(read.LoadCursorFromStream(stream));
  ASSERT_EQ(read.Images().Count(), 2);
  EXPECT_EQ(read.Images()[1]->HotSpot(), 5u + 7 * 65536);
  EXPECT_EQ(read.Images()[1]->Entry().wBitCount, 24);

  test::TempDir dir;
  icon->SaveAsCursorFile(dir.File("x.cur"), 3 + 4 * 65536);
  std::vector<uint8_t> file = ReadWholeFile(dir.File("x.cur"));
  EXPECT_EQ(ReadU16LE(&file[6 + 4]), 3);
  EXPECT_EQ(icon->Images()[0]->HotSpot(), 5u + 7 * 65536);
}

TEST(AddFromBitmapTest, MasksComeFromAlphaOrFill) {
  TBitmap rgba(2, 2, PixelFormat::Bits32);
  WriteU32LE(rgba.ScanLine(0), 0xFF000000);
  WriteU32LE(rgba.ScanLine(1) + 4, 0x01FFFFFF);
  TAdvancedIcon icon;
  icon.Images().AddFromBitmap(rgba, nullptr, 0);
  TBitmap mask;
  icon.Images()[0]->GetBitmaps(nullptr, nullptr, clNone, &mask);
  EXPECT_FALSE(MaskBitSet(mask, 0, 0));
  EXPECT_TRUE(MaskBitSet(mask, 1, 0));
  EXPECT_TRUE(MaskBitSet(mask, 0, 1));
  EXPECT_FALSE(MaskBitSet(mask, 1, 1));

  icon.Images().AddFromBitmap(Bitmap24(3, 3, clWhite), nullptr, 0);
  icon.Images()[1]->GetBitmaps(nullptr, nullptr, clNone, &mask);
  for (uint8_t byte : mask.Bits()) EXPECT_EQ(byte, 0);
  EXPECT_EQ(icon.Images()[1]->BitsPerPixel(), 24);

  icon.Images().AddFromBitmap(TBitmap(0, 0, PixelFormat::Bits8), nullptr, 0);
  ASSERT_EQ(icon.Images().Count(), 3);
  EXPECT_EQ(icon.Images()[2]->ImageWidth(), 1);
  EXPECT_EQ(icon.Images()[2]->BitsPerPixel(), 24);
}

TEST(AddFromBitmapTest, CoreHeaderAndBadPlanes) {
  // A 2x1 24-bit bitmap with an old-style core header.
  MemoryStream core;
  core.WriteU32(12);
  core.WriteU16(2);
  core.WriteU16(1);
  core.WriteU16(1);
  core.WriteU16(24);
  for (int i = 0; i < 8; ++i) core.WriteU8(uint8_t(i));
  core.SetPosition(0);
  TSubIconList list;
  list.AddFromBitmapStreams(core, nullptr, 255, core.Size());
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0]->ImageWidth(), 2);
  EXPECT_EQ(list[0]->Data().back(), 255);

  std::vector<uint8_t> bytes = core.Bytes();
  WriteU16LE(&bytes[8], 2);
  MemoryStream planes(bytes);
  EXPECT_THROW(list.AddFromBitmapStreams(planes, nullptr, 0, planes.Size()), EInvalidGraphic);
  EXPECT_EQ(list.Count(), 1);
}

TEST(ImageListTest, OrderOperations) {
  auto icon = IconOfSizes({16, 32, 48});
  TSubIconList& images = icon->Images();
  images.Move(0, 2);
  EXPECT_EQ(images[2]->ImageWidth(), 16);
  EXPECT_EQ(images[0]->ImageWidth(), 32);
  images.Sort();
  EXPECT_EQ(images[0]->ImageWidth(), 48);
  EXPECT_EQ(images[5], nullptr);
  images.Delete(7);
  EXPECT_EQ(images.Count(), 3);
  TAdvancedIcon other;
  other.Images().TakeFrom(*icon, 1);
  other.Images().TakeAll(*icon);
  EXPECT_EQ(other.Images().Count(), 3);
  EXPECT_EQ(icon->Images().Count(), 0);
  int w, h, bpp;
  other.GetMaxDimensions(w, h, bpp);
  EXPECT_EQ(w, 48);
  EXPECT_EQ(bpp, 24);
}

class FakeResources : public IconResourceSource {
 public:
  void Add(const std::string& type, const std::string& name, std::vector<uint8_t> bytes) {
    resources_[{type, name}] = std::make_unique<MemoryStream>(std::move(bytes));
  }
  Stream* FindResourceStream(const std::string& type, const std::string& name) override {
    auto it = resources_.find({type, name});
    return it == resources_.end() ? nullptr : it->second.get();
  }

 private:
  std::map<std::pair<std::string, std::string>, std::unique_ptr<MemoryStream>> resources_;
};

TEST(ResourceIconTest, GroupAssemblesItsImagesAndDropsMissingOnes) {
  auto source = IconOfSizes({16, 32});
  FakeResources module;
  MemoryStream group;
  group.WriteU16(0);
  group.WriteU16(1);
  group.WriteU16(3);
  for (int i = 0; i < 3; ++i) {
    TIconDirEntry entry = i < 2 ? source->Images()[i]->Entry() : TIconDirEntry{};
    entry.dwBytesInRes += 5;  // the resource size wins
    entry.Write(group);
    group.WriteU16(uint16_t(100 + i));
  }
  module.Add("14", "MAIN", group.TakeBytes());
  module.Add("3", "100", source->Images()[0]->Data().ToVector());
  module.Add("3", "101", source->Images()[1]->Data().ToVector());
  TAdvancedIcon icon;
  EXPECT_TRUE(icon.LoadFromResourceModule(module, "MAIN"));
  ASSERT_EQ(icon.Images().Count(), 2);
  EXPECT_TRUE(icon.SameIcon(*source));
  EXPECT_EQ(icon.Images()[1]->Entry().dwBytesInRes, source->Images()[1]->DataSize());
  EXPECT_FALSE(icon.LoadFromResourceModule(module, "OTHER"));
}

std::vector<uint8_t> RiffWithIcons(const std::vector<std::vector<uint8_t>>& icons) {
  MemoryStream riff;
  riff.WriteBuffer("RIFF\0\0\0\0ACON", 12);
  riff.WriteBuffer("LIST\0\0\0\0fram", 12);
  for (const auto& ico : icons) {
    riff.WriteBuffer("icon", 4);
    riff.WriteU32(uint32_t(ico.size()));
    riff.WriteBytes(ico);
  }
  std::vector<uint8_t> bytes = riff.TakeBytes();
  WriteU32LE(&bytes[4], uint32_t(bytes.size() - 8));
  return bytes;
}

TEST(RiffExtractTest, FindsEveryIconChunkUpToTheLimit) {
  std::vector<uint8_t> a = IcoBytes(*IconOfSizes({16})), b = IcoBytes(*IconOfSizes({32, 16}));
  std::vector<uint8_t> riff = RiffWithIcons({a, b});
  std::vector<std::unique_ptr<TAdvancedIcon>> list;
  TAdvancedIcon scratch;
  EXPECT_TRUE(scratch.ExtractFromRiffData(riff, 0, &list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1]->Images().Count(), 2);

  TAdvancedIcon all;
  EXPECT_TRUE(all.ExtractFromRiffData(riff, 0, nullptr));
  EXPECT_EQ(all.Images().Count(), 3);
  TAdvancedIcon limited;
  EXPECT_TRUE(limited.ExtractFromRiffData(riff, 1, nullptr));
  EXPECT_EQ(limited.Images().Count(), 1);

  std::vector<uint8_t> wave = riff;
  std::memcpy(&wave[8], "WAVE", 4);
  EXPECT_FALSE(all.ExtractFromRiffData(wave, 0, nullptr));
}

TEST(RiffExtractTest, FilesOverTwoMillionBytesAreNotExamined) {
  std::vector<uint8_t> riff = RiffWithIcons({IcoBytes(*IconOfSizes({16}))});
  test::TempDir dir;
  riff.resize(2000000);
  WriteFileAtomic(dir.File("ok.ani"), riff);
  riff.resize(2000001);
  WriteFileAtomic(dir.File("big.ani"), riff);
  TAdvancedIcon icon;
  EXPECT_TRUE(icon.ExtractFromRiffFile(dir.File("ok.ani"), 0, nullptr));
  EXPECT_FALSE(icon.ExtractFromRiffFile(dir.File("big.ani"), 0, nullptr));
}

TEST(ClipboardTest, CopiedImagePastesBackAsTheSameImage) {
  auto icon = IconOfSizes({24});
  MemoryClipboard clipboard;
  clipboard.SetFormat("text/plain", {'x'});
  TAdvancedIcon::CopyImageToClipboard(*icon->Images()[0], clWhite, clipboard);
  EXPECT_TRUE(clipboard.HasFormat("text/plain"));
  EXPECT_TRUE(clipboard.HasFormat(kIconClipboardFormat));
  ASSERT_TRUE(clipboard.GetBitmap());
  EXPECT_EQ(clipboard.GetBitmap()->Width(), 24);
  TAdvancedIcon pasted;
  pasted.PasteFromClipboard(clipboard);
  EXPECT_TRUE(pasted.SameIcon(*icon));
}

TEST(ClipboardTest, PngOrPictureIsPastedAndJunkChangesNothing) {
  MemoryClipboard clipboard;
  clipboard.SetFormat("junk", {1, 2, 3});
  auto icon = IconOfSizes({16});
  icon->PasteFromClipboard(clipboard);
  EXPECT_EQ(icon->Images().Count(), 1);

  TBitmap rgba(3, 3, PixelFormat::Bits32);
  WriteU32LE(rgba.ScanLine(1) + 4, 0xFF00FF00);
  clipboard.SetFormat("image/png", EncodePng(rgba));
  icon->PasteFromClipboard(clipboard);
  ASSERT_EQ(icon->Images().Count(), 1);
  EXPECT_EQ(icon->Images()[0]->ImageWidth(), 3);
  TBitmap mask;
  icon->Images()[0]->GetBitmaps(nullptr, nullptr, clNone, &mask);
  EXPECT_TRUE(MaskBitSet(mask, 0, 0));
  EXPECT_FALSE(MaskBitSet(mask, 1, 1));

  MemoryClipboard pictureOnly;
  pictureOnly.SetBitmap(Bitmap24(5, 4, clBlack));
  icon->PasteFromClipboard(pictureOnly);
  EXPECT_EQ(icon->Images()[0]->ImageHeight(), 4);
}

TEST(FilerTest, IconDataRoundTrips) {
  auto icon = IconOfSizes({16, 32});
  MemoryStream stream;
  TFilerWriter writer(stream);
  icon->WriteData(writer);
  writer.WriteInteger(-300);
  writer.WriteString(std::string(300, 'x'));
  stream.SetPosition(0);
  TFilerReader reader(stream);
  TAdvancedIcon read;
  read.ReadData(reader);
  EXPECT_TRUE(read.SameIcon(*icon));
  EXPECT_EQ(reader.ReadInteger(), -300);
  EXPECT_EQ(reader.ReadString().size(), 300u);
  EXPECT_THROW(reader.ReadInteger(), EReadError);
}

TEST(BareImageTest, SingleImageFileGivesItsImageButNotSuccess) {
  auto icon = IconOfSizes({16});
  const auto& data = icon->Images()[0]->Data();
  std::vector<uint8_t> file(18);
  WriteU16LE(&file[0], 1);
  WriteU32LE(&file[10], uint32_t(data.size()));
  file.insert(file.end(), data.begin(), data.end());
  TAdvancedIcon read;
  EXPECT_FALSE(read.LoadFromBytes(file));
  ASSERT_EQ(read.Images().Count(), 1);
  EXPECT_TRUE(read.SameIcon(*icon));
}

}  // namespace
}  // namespace varnel
